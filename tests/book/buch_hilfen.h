#pragma once
// Helpers of the book tests: books from text, positions from move lists.
#include <cstdio>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "../test_hilfen.h"
#include "book/buch.h"
#include "chess/spiel.h"

// The position after the coordinate moves from the start position (or from
// the FEN when the text starts with "fen ").
inline TestStellung nachZuegen(const std::string& zuege)
{
    std::istringstream in(zuege);
    std::string wort;
    TestStellung t;
    if (zuege.rfind("fen ", 0) == 0) return TestStellung(zuege.c_str() + 4);
    while (in >> wort) {
        Stellungsdaten_t neu;
        Zug z = zugTextLesen(t.st, t.d, wort.c_str());
        if (!z || !zugSpielen(t.st, z, neu, t.d)) t.ok = false;
        t.d = neu;
    }
    return t;
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

// A file in the temporary directory, removed with the object.
struct TempDatei {
    std::string name;
    explicit TempDatei(const std::string& inhalt = std::string(), const char* endung = "")
    {
        // Tests run as processes of their own, side by side.
        static std::random_device zufall;
        name = "/tmp/velkaris_test_" + std::to_string(zufall()) + std::to_string(zufall()) + endung;
        if (!inhalt.empty()) schreiben(inhalt);
    }
    ~TempDatei()
    {
        std::remove(name.c_str());
        std::remove((name + ".tmp").c_str());
    }
    void schreiben(const std::string& inhalt) const
    {
        std::FILE* f = std::fopen(name.c_str(), "wb");
        std::fwrite(inhalt.data(), 1, inhalt.size(), f);
        std::fclose(f);
    }
    std::string lesen() const
    {
        std::FILE* f = std::fopen(name.c_str(), "rb");
        if (!f) return "<missing>";
        std::string s = dateiInhalt(f);
        std::fclose(f);
        return s;
    }
};
