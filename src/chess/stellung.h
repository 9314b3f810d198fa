#pragma once
#include <cstdint>

#include "chess/bitboard.h"

// Most pieces of one type a valid side may have (index = piece type).
constexpr int MAX_ANZAHL[7] = {16, 8, 10, 10, 10, 9, 1};
constexpr int HISTORIE_GROESSE = 101;

// One side's pieces.
struct Seite_t {
    Bitboard bb[7];          // [0] all pieces of the side, [t] pieces of type t
    uint8_t anzahl[7];       // [0] all pieces, [t] pieces of type t
    uint8_t liste[5][10];    // squares of the pieces of type t at liste[t - 1]
    uint8_t koenig;          // king square
    uint8_t turmLang;        // castling rook squares (long and short side)
    uint8_t turmKurz;

    uint8_t* listeVon(int typ) { return liste[typ - 1]; }
    const uint8_t* listeVon(int typ) const { return liste[typ - 1]; }
};

// The position record. Copied whole with a plain memory copy.
struct Stellung_t {
    int32_t amZug;               // side to move
    uint8_t ep;                  // en-passant square, 0 = none (only set when a capture is possible)
    uint8_t rochade;             // castling rights, RECHT_* bits
    uint8_t chess960;            // the castling set-up is not the standard one
    uint8_t buchstabenRochade;   // castling rights were given as rook file letters
    Seite_t seite[2];
    uint32_t historieLaenge;     // valid entries of historie, at least 1
    uint64_t historie[HISTORIE_GROESSE]; // keys since the last irreversible move, current last

    Bitboard figuren(int s, int typ) const { return seite[s].bb[typ]; }
    Bitboard alle(int s) const { return seite[s].bb[0]; }
    Bitboard belegt() const { return seite[0].bb[0] | seite[1].bb[0]; }
    // Piece type standing on sq for side s (KEINE if none).
    int typAuf(int s, int sq) const
    {
        Bitboard b = bit(sq);
        if (!(seite[s].bb[0] & b)) return KEINE;
        for (int t = BAUER; t <= KOENIG; ++t)
            if (seite[s].bb[t] & b) return t;
        return KEINE;
    }
};

// Attacks of the opponent A against side s (stored in the record for s).
struct Angriffe_t {
    Bitboard angegriffen;   // every square A attacks
    Bitboard doppelt;       // squares A attacks at least twice
    Bitboard bauern;        // squares A's pawns attack
    Bitboard bedroht;       // pieces of s under threat by lesser pieces of A
    Bitboard gefesselt;     // pieces of s pinned against their king by A
};

// Per-ply derived data of a position.
struct Stellungsdaten_t {
    Bitboard belegt;             // both sides
    uint64_t schluessel;         // full key
    uint64_t bauernSchluessel;   // pawns only
    uint64_t materialSchluessel; // additive material signature
    Angriffe_t angriffe[2];      // [s] = attacks against s
};

// Fills counts and piece lists of a side block from its bitboards and checks
// the counts against the maxima and that there is exactly one king.
bool seiteValidieren(Seite_t& s);

// Recomputes occupancy, the three keys, both attack records and the pins.
void datenBerechnen(const Stellung_t& st, Stellungsdaten_t& d);

// Full key, pawn key and material key computed from scratch.
uint64_t schluesselBerechnen(const Stellung_t& st);
uint64_t bauernSchluesselBerechnen(const Stellung_t& st);
uint64_t materialSchluesselBerechnen(const Stellung_t& st);

// Colour-mirrored copy: ranks mirrored, colours and rights exchanged, side
// to move flipped.
void spiegeln(const Stellung_t& quelle, Stellung_t& ziel);

// Attack record of the opponent of s against s, without the pins.
void angriffeBerechnen(const Stellung_t& st, Bitboard belegt, int s, Angriffe_t& a);
// Pieces of s pinned against their king (field 5 of the record for s).
void fesselungenBerechnen(const Stellung_t& st, Bitboard belegt, int s, Angriffe_t& a);

// Debug builds: check bitboards, counts, lists and the keys in d.
bool invariantenPruefen(const Stellung_t& st, const Stellungsdaten_t* d, const char** fehler = nullptr);
