#pragma once
// Square geometry and the strong side's view of a position, shared by the
// endgame evaluators.
#include "chess/bitboard.h"
#include "chess/stellung.h"
#include "eval/endspiel.h"

namespace endspiel {

constexpr Bitboard ECKEN = bit(A8) | bit(H8) | bit(A1) | bit(H1);
// The corners and the two edge squares next to each of them.
constexpr Bitboard ECKBEREICHE =
    ECKEN | bit(B8) | bit(G8) | bit(A7) | bit(H7) | bit(A2) | bit(H2) | bit(B1) | bit(G1);
constexpr Bitboard RAND = rowMask(0) | rowMask(7) | fileMask(0) | fileMask(7);
// c3..f6
constexpr Bitboard ZENTRUMSBLOCK = 0x00003C3C3C3C0000ull;

constexpr int betrag(int x) { return x < 0 ? -x : x; }
constexpr int zeilenAbstand(int a, int b) { return betrag(rowOf(a) - rowOf(b)); }
constexpr int linienAbstand(int a, int b) { return betrag(fileOf(a) - fileOf(b)); }

// Weighted distance: a diagonal step counts three, an orthogonal step two.
constexpr int distanz(int a, int b)
{
    int z = zeilenAbstand(a, b), l = linienAbstand(a, b);
    return z > l ? 2 * z + l : 2 * l + z;
}

// Number of king steps between two squares.
constexpr int koenigsDistanz(int a, int b)
{
    int z = zeilenAbstand(a, b), l = linienAbstand(a, b);
    return z > l ? z : l;
}

constexpr bool istHell(int sq) { return (HELLE_FELDER & bit(sq)) != 0; }

// Steps of a flood fill from the start set until it holds ziel; the fill
// grows by the four orthogonal neighbours, or with koenigsSchritte by all
// eight neighbours. The start set must not be empty.
constexpr int flutSchritte(Bitboard menge, int ziel, bool koenigsSchritte)
{
    int schritte = 0;
    while (!(menge & bit(ziel))) {
        Bitboard breit = menge | schrittA(menge) | schrittH(menge);
        menge = koenigsSchritte ? breit | schrittNord(breit) | schrittSued(breit)
                                : breit | schrittNord(menge) | schrittSued(menge);
        ++schritte;
    }
    return schritte;
}

// The position as the side favoured by an evaluator sees it. The strong
// side plays "White": for a strong Black side every square is mirrored
// rank-wise (XOR 56), so each evaluator is written once for White and the
// Black case is its exact mirror image.
struct Sicht_t {
    const Stellung_t& st;
    int stark;
    int spiegel; // 0 or 56

    Sicht_t(const Stellung_t& s, int starkeSeite)
        : st(s), stark(starkeSeite), spiegel(starkeSeite == WEISS ? 0 : 56) {}

    int anzahlStark(int typ) const { return st.seite[stark].anzahl[typ]; }
    int anzahlSchwach(int typ) const { return st.seite[stark ^ 1].anzahl[typ]; }
    // Square of the n-th piece of a type of either side, seen from the strong side.
    int starkFeld(int typ, int n = 0) const { return st.seite[stark].listeVon(typ)[n] ^ spiegel; }
    int schwachFeld(int typ, int n = 0) const { return st.seite[stark ^ 1].listeVon(typ)[n] ^ spiegel; }
    int starkKoenig() const { return st.seite[stark].koenig ^ spiegel; }
    int schwachKoenig() const { return st.seite[stark ^ 1].koenig ^ spiegel; }
    bool starkAmZug() const { return st.amZug == stark; }

    // A score for the strong side reported for the side to move.
    Endspielurteil_t urteil(int art, int32_t wert) const { return {art, starkAmZug() ? wert : -wert}; }
};

} // namespace endspiel
