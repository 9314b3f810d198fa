#pragma once
#include <cstdint>

// A move is 16 bits: destination in bits 0..5, origin in bits 6..11, kind in
// bits 12..15. Move lists hold 32-bit entries with the move in the low half
// and an ordering key in the high half.
using Zug = uint32_t;

constexpr int ART_NULL = 0;
// 1..6: ordinary move of the piece type of the same number.
constexpr int ART_PROMO_SPRINGER = 7;
constexpr int ART_PROMO_LAEUFER = 8;
constexpr int ART_PROMO_TURM = 9;
constexpr int ART_PROMO_DAME = 10;
constexpr int ART_ROCHADE = 11;
constexpr int ART_EP = 12;

constexpr int MAX_ZUEGE = 256; // callers reserve at least 242 entries per list

constexpr Zug zugBauen(int von, int nach, int art) { return Zug(nach | (von << 6) | (art << 12)); }
constexpr int zugNach(Zug z) { return int(z & 63); }
constexpr int zugVon(Zug z) { return int((z >> 6) & 63); }
constexpr int zugArt(Zug z) { return int((z >> 12) & 15); }
constexpr Zug zugOhneSchluessel(Zug z) { return z & 0xFFFF; }
constexpr bool istPromotion(Zug z) { return zugArt(z) >= ART_PROMO_SPRINGER && zugArt(z) <= ART_PROMO_DAME; }
// Piece type created by a promotion kind.
constexpr int promotionsFigur(int art) { return art - 5; }
// True when the move stands for something (its kind is not 0).
constexpr bool istZug(Zug z) { return (z & 0xF000) != 0; }
