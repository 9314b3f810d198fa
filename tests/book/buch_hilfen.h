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

// (key, move) of a position given by moves, and a move in it.
inline std::pair<uint64_t, uint32_t> schluesselZug(const std::string& zuege, const char* zug)
{
    TestStellung t = nachZuegen(zuege);
    return {buchSchluessel(t.st), buchZug(zugTextLesen(t.st, t.d, zug), t.st.amZug)};
}

inline bool buchLaden(Buch_t& b, const std::string& text)
{
    std::istringstream in(text);
    return b.laden(in);
}

// A file's bytes damaged in the ways disks and copies damage them: every
// bit flipped on its own, cut short by one byte or by thirteen, one byte
// longer, all zero. Pairs of (what, bytes). (Cut short by exactly its
// checksum of twelve bytes, a file is one written before checksums came.)
inline std::vector<std::pair<std::string, std::string>> beschaedigt(const std::string& bytes)
{
    std::vector<std::pair<std::string, std::string>> r;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        for (int b = 0; b < 8; ++b) {
            std::string d = bytes;
            d[i] = char(d[i] ^ (1 << b));
            r.emplace_back("byte " + std::to_string(i) + " bit " + std::to_string(b), d);
        }
    r.emplace_back("last byte cut off", bytes.substr(0, bytes.size() - 1));
    r.emplace_back("last 13 bytes cut off", bytes.substr(0, bytes.size() - 13));
    r.emplace_back("one byte appended", bytes + '\0');
    r.emplace_back("all zero", std::string(bytes.size(), '\0'));
    return r;
}
