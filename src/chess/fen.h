#pragma once
#include "chess/stellung.h"

// Reads the four FEN fields (placement, side, castling, en passant) into st.
// Returns the position behind the en-passant field, or nullptr when the
// text is not a legal position (st may then be partly filled).
const char* fenLesen(Stellung_t& st, const char* text);

// Without text: the standard start position. With text: the FEN, then the
// half-move clock and full-move number. Computes d. False on a bad FEN.
bool stellungSetzen(Stellung_t& st, Stellungsdaten_t& d, const char* text);

void grundstellungSetzen(Stellung_t& st);

// Chess960 start position number n (taken modulo 960).
void chess960Setzen(Stellung_t& st, unsigned n);
// The FEN text of Chess960 start position n (buffer of at least 64 bytes).
void chess960Fen(unsigned n, char* puffer);

// Writes placement, side, castling and en passant (no move counters).
// The buffer needs at least 100 bytes.
void fenSchreiben(const Stellung_t& st, char* puffer);
