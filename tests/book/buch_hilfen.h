#pragma once
// Helpers of the book tests: books from text, positions from move lists.
#include "../test_hilfen.h"
#include "book/buch.h"

// The position after the moves from the start position, or the FEN when
// the text starts with "fen ".
inline TestStellung nachZuegen(const std::string& zuege)
{
    return zuege.rfind("fen ", 0) == 0 ? TestStellung(zuege.c_str() + 4) : stellungNach(nullptr, zuege);
}

// The entries of a position as "move weight" texts, heaviest first.
inline std::vector<std::string> buchZuege(const Buch_t& b, const std::string& zuege)
{
    TestStellung t = nachZuegen(zuege);
    const uint64_t k = buchSchluessel(t.st);
    std::vector<std::string> r;
    for (const BuchEintrag_t* e = b.erster(k); e != b.hinterLetztem(k); ++e)
        r.push_back(zugText(t.st, buchZug(e->zug, t.st.amZug)) + " " + std::to_string(e->gewicht));
    return r;
}

inline bool buchLaden(Buch_t& b, const std::string& text)
{
    std::istringstream in(text);
    return b.laden(in);
}
