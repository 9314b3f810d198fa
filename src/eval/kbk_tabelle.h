#pragma once
// King and pawn against king: for a white pawn on files a-d and a black
// king alone, whether White can force the pawn through to a promotion
// square Black cannot take back, and how many plies that takes. Built once
// at start-up by kbkTabelleBauen() (eval/endspiel.h); read-only afterwards.
#include <cstdint>

#include "chess/squares.h"

constexpr int KBK_BAUERNFELDER = 24;      // files a-d on ranks 7 down to 2
constexpr int KBK_GROESSE = KBK_BAUERNFELDER * 8192;
constexpr uint8_t KBK_OFFEN = 0;          // only while the table is being solved
constexpr uint8_t KBK_REMIS = 126;
constexpr uint8_t KBK_UNMOEGLICH = 127;   // no legal position
// 1..125: White wins, the smaller the sooner.

extern uint8_t KbkTabelle[KBK_GROESSE];

// Number 0..23 of a pawn square on files a-d, rows 1-6, in square order;
// -1 for every other square.
constexpr int kbkBauernIndex(int sq)
{
    int r = rowOf(sq), f = fileOf(sq);
    return (f < 4 && r >= 1 && r <= 6) ? (r - 1) * 4 + f : -1;
}

constexpr int kbkBauernFeld(int index) { return squareAt(index / 4 + 1, index % 4); }

constexpr int kbkIndex(int bauernIndex, bool weissAmZug, int schwarzerKoenig, int weisserKoenig)
{
    return bauernIndex * 8192 + (weissAmZug ? 4096 : 0) + schwarzerKoenig * 64 + weisserKoenig;
}
