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

Endspielurteil_t endspielErkennen(const Stellung_t& st);

// Solves the king-and-pawn-against-king table. Called once at start-up
// before any search; further calls do nothing.
void kbkTabelleBauen();
