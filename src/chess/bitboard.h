#pragma once
#include <cstdint>

#include "chess/squares.h"

using Bitboard = uint64_t;

constexpr Bitboard NICHT_H = 0x7F7F7F7F7F7F7F7Full;
constexpr Bitboard NICHT_A = 0xFEFEFEFEFEFEFEFEull;
constexpr Bitboard HELLE_FELDER = 0xAA55AA55AA55AA55ull; // a8 is light
constexpr Bitboard DUNKLE_FELDER = 0x55AA55AA55AA55AAull;
constexpr Bitboard REIHEN_2_UND_7 = 0x00FF00000000FF00ull;
constexpr Bitboard LINIE_A = 0x0101010101010101ull;
constexpr Bitboard REIHE_8 = 0xFFull; // row 0

constexpr Bitboard bit(int sq) { return 1ull << sq; }
constexpr Bitboard fileMask(int file) { return LINIE_A << file; }
constexpr Bitboard rowMask(int row) { return REIHE_8 << (8 * row); }

// One step in each direction on a whole board.
constexpr Bitboard schrittA(Bitboard b) { return (b >> 1) & NICHT_H; }
constexpr Bitboard schrittH(Bitboard b) { return (b & NICHT_H) << 1; }
constexpr Bitboard schrittNord(Bitboard b) { return b >> 8; } // towards rank 8
constexpr Bitboard schrittSued(Bitboard b) { return b << 8; } // towards rank 1

// Squares attacked by pawns of a side standing on the given squares.
constexpr Bitboard bauernAngriffeVon(int seite, Bitboard bauern)
{
    return seite == WEISS ? schrittNord(schrittA(bauern) | schrittH(bauern))
                          : schrittSued(schrittA(bauern) | schrittH(bauern));
}

// The index table of the generic bit scan: isolate the lowest bit, multiply
// by a de Bruijn-like constant and look the top six bits up.
constexpr uint64_t BITSCAN_MAGIE = 0x0218A7A392DD9ABFull;
struct BitScanTabelle_t {
    int8_t index[64];
    constexpr BitScanTabelle_t() : index{}
    {
        for (int i = 0; i < 64; ++i) index[((1ull << i) * BITSCAN_MAGIE) >> 58] = int8_t(i);
    }
};
inline constexpr BitScanTabelle_t BITSCAN_TABELLE{};

#if VELKARIS_POPCNT
inline int popcount(Bitboard b) { return __builtin_popcountll(b); }
inline int lsb(Bitboard b) { return __builtin_ctzll(b); }
#else
// The generic build counts and scans bits in software.
inline int popcount(Bitboard x)
{
    x -= (x >> 1) & 0x5555555555555555ull;
    x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return int((x * 0x0101010101010101ull) >> 56);
}
inline int lsb(Bitboard b) { return BITSCAN_TABELLE.index[((b & (0 - b)) * BITSCAN_MAGIE) >> 58]; }
#endif

// Takes the lowest set bit out of b and returns its square.
inline int popLsb(Bitboard& b)
{
    int sq = lsb(b);
    b &= b - 1;
    return sq;
}

inline bool mehrAlsEins(Bitboard b) { return (b & (b - 1)) != 0; }
