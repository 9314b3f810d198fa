#pragma once
#include "chess/bitboard.h"
#include "chess/stellung.h"

// Small board helpers of the evaluation. Terms are written once for a side
// S; "forward" means towards the opponent's back rank, and a relative square
// or row is the one White would see (Black's squares mirrored with XOR 56).

template <int S> constexpr int relativ(int sq) { return S == WEISS ? sq : sq ^ 56; }
template <int S> constexpr int relReihe(int sq) { return S == WEISS ? rowOf(sq) : 7 - rowOf(sq); }
// Row mask of a row given in the side's own view (row 0 = the opponent's back rank).
template <int S> constexpr Bitboard relReihenMaske(int reihe) { return rowMask(S == WEISS ? reihe : 7 - reihe); }

template <int S> constexpr Bitboard vor(Bitboard b) { return S == WEISS ? schrittNord(b) : schrittSued(b); }
template <int S> constexpr Bitboard zurueck(Bitboard b) { return S == WEISS ? schrittSued(b) : schrittNord(b); }

// Squares one step beside the given ones (same rank, neighbouring file).
constexpr Bitboard seitlich(Bitboard b) { return schrittA(b) | schrittH(b); }

// Every square one king step away from a square of the set.
constexpr Bitboard koenigsSchritt(Bitboard b)
{
    Bitboard h = seitlich(b);
    Bitboard v = b | h;
    return h | schrittNord(v) | schrittSued(v);
}

// Squares that pawns of side S on the given squares attack from the left and
// from the right; a square in both is attacked by two pawns.
template <int S> constexpr Bitboard bauernAngriffLinks(Bitboard b) { return vor<S>(schrittA(b)); }
template <int S> constexpr Bitboard bauernAngriffRechts(Bitboard b) { return vor<S>(schrittH(b)); }

constexpr Bitboard NEBENLINIEN(int file)
{
    return (file > 0 ? fileMask(file - 1) : 0) | (file < 7 ? fileMask(file + 1) : 0);
}

// b2-g7: everything but the board's edge.
constexpr Bitboard INNEN = 0x007E7E7E7E7E7E00ull;
constexpr Bitboard RAND = ~INNEN;
// c3-f6 and the four centre squares d4, e4, d5, e5.
constexpr Bitboard GROSSES_ZENTRUM = 0x00003C3C3C3C0000ull;
constexpr Bitboard ZENTRUM = 0x0000001818000000ull;

// Squares in front of a pawn of side S on its own and the neighbouring
// files: no enemy pawn there makes it a passed pawn.
struct Spannen_t {
    Bitboard frei[2][64];
    constexpr Spannen_t() : frei{}
    {
        for (int sq = 0; sq < 64; ++sq) {
            Bitboard linien = fileMask(fileOf(sq)) | NEBENLINIEN(fileOf(sq));
            Bitboard vorneW = 0, vorneS = 0;
            for (int r = 0; r < rowOf(sq); ++r) vorneW |= rowMask(r);
            for (int r = rowOf(sq) + 1; r < 8; ++r) vorneS |= rowMask(r);
            frei[WEISS][sq] = linien & vorneW;
            frei[SCHWARZ][sq] = linien & vorneS;
        }
    }
};
inline constexpr Spannen_t SPANNEN{};

// The attack record of the opponent holds the attacks BY side S: squares S
// attacks (once, twice, with pawns), the enemy pieces S threatens and the
// enemy pieces S pins.
template <int S> constexpr const Angriffe_t& angriffeVon(const Stellungsdaten_t& d) { return d.angriffe[S ^ 1]; }

// Side S has nothing but its king and pawns.
inline bool nurBauern(const Seite_t& s) { return s.anzahl[0] == s.anzahl[BAUER] + 1; }
