#pragma once
#include "chess/bitboard.h"

// Attack tables, computed once by tabellenInitialisieren() before anything
// else runs and read-only afterwards.

struct AngriffsTabellen_t {
    Bitboard springer[64];
    Bitboard koenig[64];
    Bitboard bauer[2][64];        // squares a pawn of the side on sq attacks
    Bitboard vonNach[4096];       // indexed by the low 12 bits of a move
    Bitboard zwischen[64][64];    // squares strictly between two aligned squares
    Bitboard linieDurch[64][64];  // the whole line through two aligned squares
    Bitboard linie[64];           // file of the square without the square
    Bitboard reihe[64];           // rank of the square without the square
    Bitboard diagonale[64];       // a1-h8 direction diagonal without the square
    Bitboard antidiagonale[64];   // a8-h1 direction diagonal without the square
    Bitboard laeuferLeer[64];     // bishop attacks on an empty board
    Bitboard turmLeer[64];        // rook attacks on an empty board
};
extern AngriffsTabellen_t AT;

// Magic multiplication with fixed shifts (52 for rooks, 55 for bishops) into
// one shared table.
struct Magie_t {
    Bitboard maske;
    Bitboard faktor;
    const Bitboard* tabelle;
};
extern Magie_t TurmMagie[64];
extern Magie_t LaeuferMagie[64];

inline Bitboard turmAngriffe(int sq, Bitboard belegt)
{
    const Magie_t& m = TurmMagie[sq];
    return m.tabelle[((belegt & m.maske) * m.faktor) >> 52];
}
inline Bitboard laeuferAngriffe(int sq, Bitboard belegt)
{
    const Magie_t& m = LaeuferMagie[sq];
    return m.tabelle[((belegt & m.maske) * m.faktor) >> 55];
}
inline Bitboard dameAngriffe(int sq, Bitboard belegt)
{
    return turmAngriffe(sq, belegt) | laeuferAngriffe(sq, belegt);
}

// Builds every table of the chess core (attacks, sliders). Safe to call more
// than once; only the first call does the work.
void tabellenInitialisieren();
