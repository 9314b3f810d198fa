#pragma once
#include "chess/stellung.h"
#include "chess/zug.h"

// Move generators. They append to the caller's list (room for MAX_ZUEGE
// entries) and return the new end. Moves are pseudo-legal except in check.

inline bool imSchach(const Stellung_t& st, const Stellungsdaten_t& d)
{
    return (d.angriffe[st.amZug].angegriffen & st.seite[st.amZug].bb[KOENIG]) != 0;
}

// Not in check: pawn, knight, bishop, rook, queen moves, king moves to
// unattacked squares, castling. In check: the evasions.
Zug* alleZuege(const Stellung_t& st, const Stellungsdaten_t& d, Zug* liste);

// Check evasions (king moves, captures of the checker, blocks).
Zug* ausweichZuege(const Stellung_t& st, const Stellungsdaten_t& d, Zug* liste);

// Quiescence moves: captures of pieces in schlagMaske, promotions to a queen,
// checking moves by mode (0: only captures that check, 1: also quiet safe
// checks, 2: also pawn pushes to the seventh rank), discovered checks.
// In check: the evasions.
Zug* ruheZuege(const Stellung_t& st, const Stellungsdaten_t& d, Bitboard schlagMaske, int schachModus, Zug* liste);
