#pragma once
#include <cstdint>

#include "bitbase/material.h"

// The position index of a bitbase. Without pawns the first king is brought
// into the a8-d8-d5 triangle by the board's symmetries (files, rows and the
// a8-h1 diagonal), and its square and the side to move make one of 20
// slots; every other piece adds a base-64 digit. With pawns only the
// left-right mirror is left: the first pawn, mirrored onto the files a to d,
// makes one of 64 slots.
//
// A pawn that may capture en passant is written with a code on a row no
// pawn can stand on, so the en-passant right needs no bits of its own.

// Code of the pawn at list position j (its square, or its en-passant code).
int bauernCode(const BbStellung_t& b, int j);

uint64_t bbIndex(const BbStellung_t& b);

// The inverse: fills squares, side to move and en-passant square of b
// (whose piece types name the material) from an index. False when no
// position of the material has this index; a true result may still be an
// illegal position (see bbLegal).
bool bbDekodieren(uint64_t index, BbStellung_t& b);

// A position the generator and the probe accept: pieces on different
// squares, no pawn on its first or last row, the side not to move not in
// check, and an en-passant square only right behind a pawn of the side not
// to move that has just made its double step, with a pawn to take it.
bool bbLegal(const BbStellung_t& b);

// Does the index of b lead back to b (or its mirror image)? Only a position
// with an en-passant square can fail: with three or more pawns, the codes
// of two different capturers may meet in one index.
bool bbTreu(const BbStellung_t& b, uint64_t index);
