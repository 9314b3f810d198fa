#include "bitbase/material.h"

#include <cstring>

#include "chess/squares.h"

namespace {

int typVonBuchstabe(char c)
{
    for (int t = BAUER; t <= KOENIG; ++t)
        if (FIGUREN_NAMEN[t] == c) return t;
    return KEINE;
}

// Rank of a type in name order: king first, pawns last.
int rang(int typ)
{
    return typ == KOENIG ? 0 : 6 - typ;
}

} // namespace

void seiteSortieren(uint8_t* typ, uint8_t* feld, int anzahl)
{
    for (int i = 1; i < anzahl; ++i) {
        const uint8_t t = typ[i], f = feld[i];
        int j = i;
        for (; j > 0 && rang(typ[j - 1]) > rang(t); --j) {
            typ[j] = typ[j - 1];
            feld[j] = feld[j - 1];
        }
        typ[j] = t;
        feld[j] = f;
    }
}

void materialBenennen(BbStellung_t& b)
{
    b.n = b.anzahl[0] + b.anzahl[1];
    b.ersterBauer = -1;
    for (int j = 0; j < b.n; ++j) {
        b.name[j] = FIGUREN_NAMEN[b.typ[j] & 7];
        if (b.ersterBauer < 0 && b.typ[j] == BAUER) b.ersterBauer = j;
    }
    b.name[b.n] = 0;
}

bool materialLesen(const char* name, BbStellung_t& b, const char** fehler)
{
    const char* grund = nullptr;
    std::memset(&b, 0, sizeof(b));
    const size_t laenge = std::strlen(name);
    if (laenge < 2 || laenge > BB_MAX_FIGUREN) grund = "a material has two to five pieces, kings included";
    else if (name[0] != 'K') grund = "the name starts with the first side's king";
    int seite = 0, letzter = 0;
    for (size_t i = 0; !grund && i < laenge; ++i) {
        const int t = typVonBuchstabe(name[i]);
        if (t == KEINE) {
            grund = "letters are K, D, T, L, S and B";
        } else if (t == KOENIG) {
            if (i > 0 && ++seite > 1) grund = "a material has exactly two kings";
            letzter = 0;
        } else if (rang(t) < letzter) {
            grund = "pieces follow their king in the order D, T, L, S, B";
        } else {
            letzter = rang(t);
        }
        if (!grund) {
            b.typ[i] = uint8_t(t);
            ++b.anzahl[seite];
        }
    }
    if (!grund && seite != 1) grund = "a material has exactly two kings";
    if (grund) {
        if (fehler) *fehler = grund;
        return false;
    }
    materialBenennen(b);
    return true;
}

uint64_t bbPositionen(const BbStellung_t& b)
{
    uint64_t n = b.hatBauern() ? 64 : 20;
    for (int j = 1; j < b.n; ++j) n *= 64;
    return n;
}
