#pragma once
#include "chess/stellung.h"
#include "chess/zug.h"

// Coordinate text of a move ("e2e4", "e7e8q", "0000"; castling as the
// position's flags demand). The buffer needs at least 6 bytes.
void zugSchreiben(const Stellung_t& st, Zug z, char* puffer);

// Square text ("e1") into a buffer of at least 3 bytes.
void feldSchreiben(int sq, char* puffer);

// Reads a coordinate move (or "O-O"/"O-O-O"); 0 when malformed. The result
// is not checked for legality.
Zug koordinatenZugLesen(const Stellung_t& st, const char* text);

// Reads a SAN move (English or German piece letters); 0 for anything
// malformed, ambiguous, illegal or contradicting its annotations.
Zug sanZugLesen(Stellung_t& st, const Stellungsdaten_t& d, const char* text);

// Reads a move in any notation the engine accepts from files: coordinates
// ("e2e4", "e7e8q"), castling words ("O-O", "0-0-0", "o-o") or SAN. 0 unless
// the whole text is one legal move of the position.
Zug zugTextLesen(Stellung_t& st, const Stellungsdaten_t& d, const char* text);
