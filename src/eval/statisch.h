#pragma once
#include <cstdint>

#include "eval/endspiel.h"
#include "eval/eval.h"

// The static score the search uses, for the side to move: the endgame
// recogniser's value replaces the evaluation (kind 2), is added to it
// (kind 1), or the evaluation stands alone (kind 0).
inline int32_t statischeBewertung(const Stellung_t& st, const Stellungsdaten_t& d, MaterialTable& mt, PawnTable& pt)
{
    const Endspielurteil_t urteil = endspielErkennen(st);
    if (urteil.art == 2) return urteil.wert;
    int32_t score = evaluate(st, d, mt, pt);
    if (urteil.art == 1) score += urteil.wert;
    return score;
}
