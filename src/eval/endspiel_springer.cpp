// Two knights against a pawn: with the pawn blockaded by a knight the
// knights' side can mate the pawn side's king (the pawn keeps stalemate
// away), the further back the blockade the safer.
#include <initializer_list>

#include "chess/attacks.h"
#include "eval/endspiel_bewerter.h"
#include "eval/endspiel_felder.h"

namespace endspiel {

namespace {

// Value of a blockade by the row of the blocking knight, seen from the
// knights' side (the pawn moves towards row 7).
constexpr int32_t BLOCKADE[8] = {0, 0, 550, 530, 510, 480, 410, 0};

} // namespace

Endspielurteil_t zweiSpringerGegenBauer(const Stellung_t& st, int stark)
{
    // Seen from the knights' side the pawn runs towards higher squares.
    const Sicht_t v(st, stark);
    const int p = v.schwachFeld(BAUER);
    const int k = v.schwachKoenig(), sk = v.starkKoenig();
    const int n1 = v.starkFeld(SPRINGER, 0), n2 = v.starkFeld(SPRINGER, 1);

    int blocker = -1;
    for (int n : {n1, n2})
        if (fileOf(n) == fileOf(p) && n > p && (blocker < 0 || n < blocker)) blocker = n;

    int32_t s = 1;
    if (blocker >= 0) {
        s = BLOCKADE[rowOf(blocker)];
        if (s > 1) {
            const int zeile = rowOf(blocker);
            if (zeile <= 3 || (zeile == 4 && fileOf(blocker) != 1 && fileOf(blocker) != 6)) s += 1800;
            if (zeile <= 3) s += 500;
            // The mate happens in a corner: the sooner the king gets there
            // the better.
            if (!(ECKEN & bit(k))) {
                s -= 50 * flutSchritte(ECKEN, k, false);
                s -= 20 * flutSchritte(ECKEN, k, true);
            }
            s -= 2 * distanz(k, sk);
            return v.urteil(2, s);
        }
    }

    // No working blockade: only a king caught in a corner region with at
    // most one square left to breathe is in real danger.
    if (ECKBEREICHE & bit(k)) {
        const Bitboard angriff = AT.springer[n1] | AT.springer[n2] | AT.koenig[sk];
        Bitboard frei = AT.koenig[k] & ~angriff;
        frei |= schrittA(frei) | schrittH(frei);
        frei |= schrittNord(frei) | schrittSued(frei);
        frei &= ~angriff;
        if (!mehrAlsEins(frei)) s = 2750 - fileOf(p);
    }
    return v.urteil(2, s);
}

} // namespace endspiel
