// "velkaris --book ...": the book calculation on its work file.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bookcalc/buchbaum.h"

namespace {
constexpr const char* BAUM_DATEI = "Buchberechnung.bin";
constexpr const char* BAUM_NEU = "Buchberechnung.tmp.bin";
// Games add their first moves to the tree.
constexpr int PARTIE_HALBZUEGE = 20;

// The width of "write": a positive number, the whole argument. Anything
// else (nan, inf, -50, 0, 50x) would write a book without weights.
bool breiteLesen(const char* text, double& breite)
{
    char* ende = nullptr;
    const double w = std::strtod(text, &ende);
    if (ende == text || *ende != 0 || !std::isfinite(w) || !(w > 0)) return false;
    breite = w;
    return true;
}

int speichern(const Buchbaum_t& baum, const char* datei)
{
    if (baum.speichern(datei)) return 0;
    std::fprintf(stderr, "info string error writing the output file %s\n", datei);
    return 1;
}
} // namespace

int buchWerkzeug(int argc, char** argv)
{
    const bool rechnen = argc == 2;
    const bool drucken = argc == 3 && !std::strcmp(argv[2], "print");
    const bool schreiben = (argc == 4 || argc == 5) && !std::strcmp(argv[2], "write");
    const bool pgn = argc == 4 && !std::strcmp(argv[2], "pgn");
    if (!rechnen && !drucken && !schreiben && !pgn) {
        std::fprintf(stderr, "Parameter error\n");
        return -1;
    }
    double breite = 50.0;
    if (schreiben && argc == 5 && !breiteLesen(argv[4], breite)) {
        std::fprintf(stderr, "Parameter error: the width must be a positive number, not \"%s\"\n", argv[4]);
        return -1;
    }
    Buchbaum_t baum;
    // A tree file that cannot be read is never replaced by a new tree.
    if (baum.laden(BAUM_DATEI, stderr) == Buchbaum_t::DEFEKT) return -1;
    BaumParameter_t p;
    int rc = 0;
    if (rechnen) {
        p.sicherung = BAUM_DATEI;
        baum.rechnen(p);
        rc = speichern(baum, BAUM_DATEI);
        baum.drucken(stdout, p.breite);
    } else if (drucken) {
        baum.drucken(stdout, p.breite);
    } else if (schreiben) {
        rc = baum.buchSchreiben(argv[3], breite) ? 0 : 1;
    } else {
        // The reader has said why the games could not be read.
        rc = baum.partienHinzufuegen(argv[3], PARTIE_HALBZUEGE) ? speichern(baum, BAUM_NEU) : 1;
    }
    std::fflush(stdout);
    return rc;
}
