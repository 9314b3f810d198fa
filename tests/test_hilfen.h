#pragma once
// Small helpers shared by the tests.
#include <string>

#include "chess/attacks.h"
#include "chess/fen.h"
#include "chess/notation.h"
#include "chess/stellung.h"
#include "eval/endspiel.h"

struct TestStellung {
    Stellung_t st;
    Stellungsdaten_t d;
    bool ok = false;
    explicit TestStellung(const char* fen = nullptr)
    {
        tabellenInitialisieren();
        kbkTabelleBauen();
        ok = stellungSetzen(st, d, fen);
    }
};

inline std::string zugText(const Stellung_t& st, Zug z)
{
    char puffer[8];
    zugSchreiben(st, z, puffer);
    return puffer;
}

inline std::string fenText(const Stellung_t& st)
{
    char puffer[128];
    fenSchreiben(st, puffer);
    return puffer;
}

inline std::string testDaten(const char* name)
{
    std::string pfad(VELKARIS_TEST_DATA);
    pfad.append(1, '/');
    pfad.append(name);
    return pfad;
}
