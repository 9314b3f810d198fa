#pragma once
#include <cstdint>

// Squares run from a8 (0) to h1 (63): file = sq & 7 (0 = a-file),
// row = sq >> 3 (0 = eighth rank). White pawns move towards lower squares.

constexpr int WEISS = 0;
constexpr int SCHWARZ = 1;

// Piece types; the internal one-letter names are "-BSLTDK".
constexpr int KEINE = 0;
constexpr int BAUER = 1;
constexpr int SPRINGER = 2;
constexpr int LAEUFER = 3;
constexpr int TURM = 4;
constexpr int DAME = 5;
constexpr int KOENIG = 6;
constexpr const char* FIGUREN_NAMEN = "-BSLTDK";

constexpr int fileOf(int sq) { return sq & 7; }
constexpr int rowOf(int sq) { return sq >> 3; }
constexpr int squareAt(int row, int file) { return row * 8 + file; }
// Rank 1..8 as printed in coordinates.
constexpr int rankOf(int sq) { return 8 - (sq >> 3); }

enum Feld : int {
    A8, B8, C8, D8, E8, F8, G8, H8,
    A7, B7, C7, D7, E7, F7, G7, H7,
    A6, B6, C6, D6, E6, F6, G6, H6,
    A5, B5, C5, D5, E5, F5, G5, H5,
    A4, B4, C4, D4, E4, F4, G4, H4,
    A3, B3, C3, D3, E3, F3, G3, H3,
    A2, B2, C2, D2, E2, F2, G2, H2,
    A1, B1, C1, D1, E1, F1, G1, H1,
};

// Castling rights bits.
constexpr uint8_t RECHT_WEISS_KURZ = 1;
constexpr uint8_t RECHT_WEISS_LANG = 2;
constexpr uint8_t RECHT_SCHWARZ_KURZ = 4;
constexpr uint8_t RECHT_SCHWARZ_LANG = 8;
constexpr uint8_t RECHTE_DER_SEITE[2] = {3, 12};
