// Rook endings with few pieces: rook and pawn against rook, rook and minor
// piece against rook, rook against minor piece.
#include <algorithm>

#include "chess/attacks.h"
#include "eval/endspiel_bewerter.h"
#include "eval/endspiel_felder.h"

namespace endspiel {

namespace {

// Rook and pawn against rook, by the pawn's square (strong side's view):
// what the pawn is worth before the kings and the defending rook are
// looked at. Centre pawns far up the board are the most dangerous.
constexpr int32_t TURMENDSPIEL[64] = {
       0,    0,    0,    0,    0,    0,    0,    0,
    1700, 2300, 2400, 2400, 2400, 2400, 2300, 1700,
    1200, 1700, 1800, 1800, 1800, 1800, 1700, 1200,
     800, 1300, 1500, 1400, 1500, 1400, 1300,  800,
     400, 1000, 1100, 1100, 1100, 1100, 1000,  400,
     200,  350,  400,  400,  400,  400,  350,  200,
     200,  350,  400,  400,  400,  400,  350,  200,
       0,    0,    0,    0,    0,    0,    0,    0,
};

// How badly the defending king k is placed for the mating attack: corners
// and edges are bad, and so is standing next to the attacking king sk.
int koenigInNot(int k, int sk, int ecke, int eckbereich, int sonst)
{
    int c = (ECKBEREICHE & bit(k)) ? ((ECKEN & bit(k)) ? ecke : eckbereich) : sonst;
    if (RAND & bit(k)) c += 3;
    if (!(ZENTRUMSBLOCK & bit(k))) c += 1;
    if (AT.koenig[k] & AT.koenig[sk]) c += 3;
    return c;
}

// Score of the rook endings with a piece more: grows with the danger c,
// 1 (a small plus) when there is none.
int32_t gefahrWert(int c) { return c > 0 ? (c < 8 ? c : 8) * (c + 10) * 8 : 1; }

} // namespace

Endspielurteil_t turmBauerGegenTurm(const Stellung_t& st, int stark)
{
    const Sicht_t v(st, stark);
    int p = v.starkFeld(BAUER), sk = v.starkKoenig(), k = v.schwachKoenig(), r = v.schwachFeld(TURM);
    if (fileOf(p) >= 4) { // look at the pawn on files a-d
        p ^= 7;
        sk ^= 7;
        k ^= 7;
        r ^= 7;
    }
    const int f = fileOf(p);

    int32_t s;
    if (rowOf(k) <= 1 && fileOf(k) == f && rowOf(r) == 2) {
        s = 1; // king in front of the pawn, rook on the third rank: the textbook draw
    } else {
        s = TURMENDSPIEL[p];
        if (rowOf(r) + 3 < rowOf(p)) s += 200;
    }
    // Race of the kings: the defender to the square ahead of the pawn (for
    // a defender beside the pawn's file, the one next to it towards the
    // a-file), the attacker to the pawn's file on the seventh rank.
    int q = p - 8;
    if (f >= 1 && fileOf(k) != f) q -= 1;
    const int angreiferWeg = std::max(betrag(rowOf(sk) - 1), betrag(fileOf(sk) - f));
    s += 4 * (koenigsDistanz(k, q) - angreiferWeg);
    // The defending rook far away on the long side checks from a distance.
    if (fileOf(r) - f > 3 && fileOf(k) <= f) s -= 300;
    if ((fileOf(r) - f < 4 || fileOf(k) <= f) && fileOf(k) == f && k < p) s -= 100;
    if (!v.starkAmZug()) s -= 6;
    return v.urteil(2, std::max(s, 1));
}

Endspielurteil_t turmLeichtfigurGegenTurm(const Stellung_t& st, int stark)
{
    const Sicht_t v(st, stark);
    const int k = v.schwachKoenig();
    int c = koenigInNot(k, v.starkKoenig(), 1 + 4, -4 + 4, -4);
    if (v.anzahlStark(SPRINGER) > 0 && (ECKEN & bit(v.starkFeld(SPRINGER)))) c -= 1;
    if (v.starkAmZug()) c += 1;
    return v.urteil(2, gefahrWert(c));
}

Endspielurteil_t turmGegenLeichtfigur(const Stellung_t& st, int stark)
{
    const Sicht_t v(st, stark);
    const int k = v.schwachKoenig();
    int c = koenigInNot(k, v.starkKoenig(), 4, -1, -5);

    int m;
    Bitboard reichweite;
    if (v.anzahlSchwach(SPRINGER) > 0) {
        m = v.schwachFeld(SPRINGER);
        if (ECKEN & bit(m)) c += 1;
        reichweite = AT.springer[m] | bit(m);
    } else {
        m = v.schwachFeld(LAEUFER);
        reichweite = AT.laeuferLeer[m] | bit(m);
    }
    // On a line with its king the piece can be pinned or skewered; away
    // from it, cut off and won.
    if (rowOf(m) == rowOf(k) || fileOf(m) == fileOf(k)) c += 2;
    if (!(AT.koenig[k] & reichweite)) c += 1;
    const int abstand = koenigsDistanz(m, k);
    if (abstand > 2)
        c += 4;
    else if (abstand > 1)
        c += 2;
    if (v.starkAmZug()) c += 1;
    return v.urteil(2, gefahrWert(c));
}

} // namespace endspiel
