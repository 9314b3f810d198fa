#pragma once
// Test helpers: positions from FEN text and the recogniser's verdict with
// the colour-mirrored twin checked along the way.
#include "../test_hilfen.h"

#include <cctype>

inline Stellung_t stellungAus(const char* fen)
{
    const TestStellung t(fen);
    EXPECT_TRUE(t.ok) << fen;
    return t.st;
}

inline Stellung_t mitZug(Stellung_t st, int seite) { return st.amZug = seite, st; }

inline bool gleich(Endspielurteil_t a, Endspielurteil_t b) { return a.art == b.art && a.wert == b.wert; }

inline std::ostream& operator<<(std::ostream& os, Endspielurteil_t u)
{
    return os << "{art " << u.art << ", wert " << u.wert << "}";
}

// The verdict, after checking that the colour-mirrored twin (same position
// with colours and ranks exchanged) gets exactly the same one.
inline Endspielurteil_t urteilGespiegeltGleich(const Stellung_t& st)
{
    const Endspielurteil_t u = endspielErkennen(st);
    Stellung_t zwilling;
    spiegeln(st, zwilling);
    const Endspielurteil_t v = endspielErkennen(zwilling);
    EXPECT_TRUE(gleich(u, v)) << "position " << u << " mirrored twin " << v;
    return u;
}

// Checks the verdict of a FEN with White and with Black to move (and both
// mirrored twins).
inline void erwarte(const char* fen, Endspielurteil_t weissZieht, Endspielurteil_t schwarzZieht)
{
    SCOPED_TRACE(fen);
    const Stellung_t st = stellungAus(fen);
    EXPECT_PRED2(gleich, urteilGespiegeltGleich(mitZug(st, WEISS)), weissZieht);
    EXPECT_PRED2(gleich, urteilGespiegeltGleich(mitZug(st, SCHWARZ)), schwarzZieht);
}

// FEN text of a position given as (piece letter, square) pairs.
struct Stein {
    char figur; // FEN letter, upper case for White
    int feld;
};

inline std::string fenAus(const std::vector<Stein>& steine, int amZug)
{
    char brett[64] = {};
    for (const Stein& s : steine) brett[s.feld] = s.figur;
    std::string fen;
    for (int sq = 0; sq < 64; ++sq) {
        if (sq && sq % 8 == 0) fen += '/';
        if (brett[sq]) fen += brett[sq];
        else if (!fen.empty() && std::isdigit(static_cast<unsigned char>(fen.back()))) ++fen.back(); // one more empty square
        else fen += '1';
    }
    return fen + (amZug == WEISS ? " w - - 0 1" : " b - - 0 1");
}
