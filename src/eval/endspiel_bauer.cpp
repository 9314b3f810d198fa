// Endings decided by a single pawn: the pawn race against pieces, king and
// pawn against king, and the rook pawn with the wrong bishop.
#include <cassert>

#include "eval/endspiel_bewerter.h"
#include "eval/endspiel_felder.h"
#include "eval/kbk_tabelle.h"
#include "eval/material_werte.h"

namespace endspiel {

namespace {

// Pawn and pieces against pieces: by the pawn's row (strong side's view),
// [0] for the a- and h-file, [1] for the files b to g. A far advanced pawn
// counts for more, a rook pawn for a little less.
constexpr int32_t BAUERNWETTLAUF[8][2] = {
    {0, 0}, {-50, -20}, {-100, -80}, {-150, -130}, {-200, -180}, {-250, -220}, {-250, -220}, {0, 0},
};

} // namespace

Endspielurteil_t bauerUndFiguren(const Stellung_t& st, int stark)
{
    const Sicht_t v(st, stark);
    const int p = v.starkFeld(BAUER), sk = v.starkKoenig(), k = v.schwachKoenig();
    const bool randbauer = fileOf(p) == 0 || fileOf(p) == 7;
    const int32_t s = BAUERNWETTLAUF[rowOf(p)][randbauer ? 0 : 1] - KOENIG_ZENTRUM[sk] + KOENIG_ZENTRUM[k] -
                      distanz(p, sk) + distanz(p, k);
    return v.urteil(2, s);
}

Endspielurteil_t bauerGegenKoenig(const Stellung_t& st, int stark)
{
    const Sicht_t v(st, stark);
    int p = v.starkFeld(BAUER), sk = v.starkKoenig(), k = v.schwachKoenig();
    int i = kbkBauernIndex(p);
    if (i < 0) { // the table holds files a-d only
        p ^= 7;
        sk ^= 7;
        k ^= 7;
        i = kbkBauernIndex(p);
    }
    const int t = KbkTabelle[kbkIndex(i, v.starkAmZug(), k, sk)];
    assert(t != KBK_OFFEN && "kbkTabelleBauen() must run at start-up");
    return v.urteil(2, t == KBK_REMIS ? 1 : 7306 - 10 * t);
}

Endspielurteil_t falscherRandbauer(const Stellung_t& st, int stark)
{
    const Sicht_t v(st, stark);
    const int p = v.starkFeld(BAUER), k = v.schwachKoenig();
    const int linie = fileOf(p);
    if (linie != 0 && linie != 7) return {1, 0};
    if (istHell(v.starkFeld(LAEUFER)) == istHell(linie)) return {1, 0}; // the bishop covers the corner
    // A defending king in front of the pawn near the corner cannot be
    // driven out: a dead draw. Elsewhere it may still get there, so the
    // pawn side's score is marked down.
    const bool eckeErreicht = rowOf(k) <= 1 && (linie == 0 ? fileOf(k) <= 1 : fileOf(k) >= 6);
    if (eckeErreicht) return v.urteil(2, 1);
    return v.urteil(1, -1000);
}

} // namespace endspiel
