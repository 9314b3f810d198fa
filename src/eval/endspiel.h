#pragma once
#include <cstdint>

#include "chess/stellung.h"

// Verdict of the endgame recogniser, asked before the static evaluation.
//   art 0: no verdict, evaluate normally;
//   art 1: evaluate normally and add wert;
//   art 2: wert is the static score, the evaluation is not called.
// wert is from the point of view of the side to move.
struct Endspielurteil_t {
    int32_t art;
    int32_t wert;
};

// The recogniser proper, for positions with at most six pieces (kings
// included).
Endspielurteil_t endspielKleinErkennen(const Stellung_t& st);

// Called at every node: with seven or more pieces there is never a verdict,
// and that costs one comparison.
inline Endspielurteil_t endspielErkennen(const Stellung_t& st)
{
    if (st.seite[WEISS].anzahl[0] + st.seite[SCHWARZ].anzahl[0] >= 7) return {0, 0};
    return endspielKleinErkennen(st);
}

// Solves the king-and-pawn-against-king table (eval/kbk_tabelle.h). Called
// once at start-up before any search; further calls do nothing.
void kbkTabelleBauen();
