#pragma once
#include <cstdint>

#include "chess/bitboard.h"
#include "chess/zug.h"

struct Stellung_t;
struct Zugdaten_t;
using ZurueckRoutine = void (*)(Zugdaten_t&);

// The undo record of one made move.
struct Zugdaten_t {
    Stellung_t* stellung;
    ZurueckRoutine zurueck;      // chosen by the make routine
    Bitboard vonNach;            // from-to mask of the moving piece
    Bitboard geschlagenBB;       // capture: the victim's bitboard before the move; castling: rook from-to mask
    uint32_t zug;
    uint32_t geschlagen;         // captured piece type, 0 if none
    uint32_t slot;               // slot of the moving piece in its list
    uint32_t slotGeschlagen;     // slot of the captured piece, or of the castling rook
    uint8_t alterEp;             // en passant and castling rights before the move
    uint8_t alteRochade;
};
