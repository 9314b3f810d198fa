#pragma once
#include "chess/stellung.h"
#include "chess/zug.h"

// Draw codes of remisTest.
constexpr int REMIS_KEINS = 0;
constexpr int REMIS_WIEDERHOLUNG = 2;      // the position occurred once before
constexpr int REMIS_WIEDERHOLUNG_2 = 3;    // at least twice before
constexpr int REMIS_MATERIAL = 10;
constexpr int REMIS_FUENFZIG = 50;

// Plays a move in the game: makes it for search into neu and keeps the key
// history (reset by irreversible moves). False if the move is illegal.
bool zugSpielen(Stellung_t& st, Zug z, Stellungsdaten_t& neu, const Stellungsdaten_t& alt);

int remisTest(const Stellung_t& st, uint64_t schluessel, bool fuenfzigZuege);
bool materialUngenuegend(const Stellung_t& st);

// How many moves of a line to show: up to and including the first move that
// reaches a position seen before, in the game (st's key history and the
// position itself, key wurzel) or earlier in the line. schluessel[i] is the
// key after move i; without a repetition all n moves.
int varianteBisWiederholung(const Stellung_t& st, uint64_t wurzel, const uint64_t* schluessel, int n);

// True when the side to move has no legal move; ergebnis (optional) is 0 for
// stalemate, -1 when White is mated, +1 when Black is mated.
bool partieEnde(Stellung_t& st, const Stellungsdaten_t& d, int* ergebnis = nullptr);

// Legal moves into liste (room for MAX_ZUEGE); returns the new end.
Zug* legaleZuege(Stellung_t& st, const Stellungsdaten_t& d, Zug* liste);
int legaleZuegeZaehlen(Stellung_t& st, const Stellungsdaten_t& d);
// The move (16-bit part) is among the generated moves and leaves no king in check.
bool zugLegal(Stellung_t& st, const Stellungsdaten_t& d, Zug z);
bool zugPseudoLegal(const Stellung_t& st, const Stellungsdaten_t& d, Zug z);
