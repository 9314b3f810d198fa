#pragma once
#include <cstdint>

#include "chess/stellung.h"
#include "chess/zug.h"
#include "chess/zugdaten.h"
#include "search/tt.h"

// Phases of the move picker.
constexpr int WAHL_SPEZIAL = 0;   // hash move or recapture first
constexpr int WAHL_SORTIEREN = 1; // rest of the list still to be ordered
constexpr int WAHL_LISTE = 2;     // walking the ordered list
constexpr int WAHL_ERSTER = 3;    // a selected first move, then the rest

// One record per ply of a search line, in one contiguous array so that the
// records of earlier plies are reached by stepping back. The derived data and
// the undo record belong to the move made at this ply: the child's position
// is described by daten.
struct Ply_t {
    Zug zug;               // move being searched at this node (0 = null move)
    Zug besterZug;
    Zug killer[2];
    int32_t ply;
    int32_t gesucht;       // legal moves searched
    int32_t schlaege;      // captures among them
    int32_t statisch;      // static evaluation
    Bitboard drohFeld;     // destination of the null move's refutation
    TTDaten_t tt;          // the transposition table's record for this node
    uint8_t drohung;       // the null move found a mate threat
    uint8_t bbGefunden;    // the bitbase probe knew this position
    int32_t bbWert;        // and its value (from White's point of view)
    int32_t grenze;        // bound of the result: 0 upper, 0x2000 lower, 0x4000 exact

    // Move picker.
    Zug* anfang;
    Zug* aktuell;
    Zug* ende;
    int32_t phase;
    Zug hashZug;

    Stellungsdaten_t daten; // position after zug
    Zugdaten_t zd;          // undo record of zug
    Zug liste[MAX_ZUEGE];
};

constexpr int PLY_STAPEL = 206;
constexpr int PLY_BASIS = 2; // records before the root
constexpr int MAX_PLY = 100;
