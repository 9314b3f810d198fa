// "velkaris --book ...": the book calculation on its work file.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "book/buchbaum.h"

namespace {
constexpr const char* BAUM_DATEI = "Buchberechnung.bin";
constexpr const char* BAUM_NEU = "Buchberechnung.tmp.bin";
// Games add their first moves to the tree.
constexpr int PARTIE_HALBZUEGE = 20;
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
    Buchbaum_t baum;
    // A tree file that cannot be read is never replaced by a new tree.
    if (baum.laden(BAUM_DATEI, stderr) == Buchbaum_t::DEFEKT) return -1;
    BaumParameter_t p;
    if (rechnen) {
        p.sicherung = BAUM_DATEI;
        baum.rechnen(p);
        if (!baum.speichern(BAUM_DATEI)) std::fprintf(stderr, "info string error opening the output file %s\n", BAUM_DATEI);
        baum.drucken(stdout, p.breite);
    } else if (drucken) {
        baum.drucken(stdout, p.breite);
    } else if (schreiben) {
        double breite = 50.0;
        if (argc == 5) {
            char* ende = nullptr;
            const double w = std::strtod(argv[4], &ende);
            if (ende != argv[4]) breite = w;
        }
        baum.buchSchreiben(argv[3], breite);
    } else {
        if (!baum.partienHinzufuegen(argv[3], PARTIE_HALBZUEGE)) return 0;
        if (!baum.speichern(BAUM_NEU)) std::fprintf(stderr, "info string error opening the output file %s\n", BAUM_NEU);
    }
    std::fflush(stdout);
    return 0;
}
