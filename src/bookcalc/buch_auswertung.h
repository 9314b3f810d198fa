#pragma once
#include <cstdio>

class Buch_t;

// Looks at a loaded text book as the engine plays it from the start
// position: every move with a weight is played with probability weight /
// total of its position, and the probability of reaching a position is the
// sum over all the lines that lead to it (transpositions add up; a line
// that returns into a position on itself is cut there).

// Entropy in bits of the reach probabilities of the positions: how much
// variety the book gives. A book with one line has 0.
double buchEntropie(const Buch_t& buch);

// Writes "PROBABILITY FEN" for every last position of the book's lines (a
// position whose moves all lead out of the book), each once, with its FEN
// seen from White's side. Returns the number of lines.
int buchEndstellungen(const Buch_t& buch, std::FILE* aus);
