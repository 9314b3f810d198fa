#pragma once
#include <cstdint>

// A bitbase covers one material distribution of at most five pieces. Its
// name lists the first side's king and pieces, then the second side's, with
// the letters K king, D queen, T rook, L bishop, S knight, B pawn, each side
// in that order: KTBKT is king, rook and pawn against king and rook. The
// first-named side always plays as White (its pawns move towards row 0).

constexpr int BB_MAX_FIGUREN = 5;
constexpr int BB_KEIN_FELD = -1;

// One position of a material: what the index is computed from.
struct BbStellung_t {
    int32_t amZug;          // 0 when the first-named side is to move
    int32_t anzahl[2];      // pieces per side, kings included
    int32_t n;              // all pieces
    int32_t ep;             // en-passant square; 0 or negative: none
    int32_t ersterBauer;    // list position of the first pawn, -1 without pawns
    uint8_t typ[BB_MAX_FIGUREN];  // piece type codes in name order
    uint8_t feld[BB_MAX_FIGUREN]; // their squares
    char name[BB_MAX_FIGUREN + 1];

    int seiteVon(int j) const { return j < anzahl[0] ? 0 : 1; }
    bool hatBauern() const { return ersterBauer >= 0; }
};

// Reads a material name into the piece lists of b (squares 0, first side to
// move, no en-passant square). False with a reason for anything but a
// well-formed name of two to five pieces.
bool materialLesen(const char* name, BbStellung_t& b, const char** fehler = nullptr);

// Rebuilds name, counts and first pawn from the piece types, after the
// caller filled typ (name order) and anzahl.
void materialBenennen(BbStellung_t& b);

// Number of index values of the material: 20 * 64^(n-1) without pawns,
// 64^n with pawns.
uint64_t bbPositionen(const BbStellung_t& b);
inline uint64_t bbBloecke(const BbStellung_t& b)
{
    return (bbPositionen(b) + 4095) / 4096;
}

// Sorts one side's pieces (king first, then queens, rooks, bishops,
// knights, pawns) the way the name lists them; squares travel along.
void seiteSortieren(uint8_t* typ, uint8_t* feld, int anzahl);
