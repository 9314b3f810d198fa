// velkaris_bench epd FILE [--ms T] [--threads N]: searches every position of
// an EPD test suite for T milliseconds and counts the positions whose best
// move is one of the "bm" moves and none of the "am" moves.
// velkaris_bench epd-score FILE: the same count for the output of
// "velkaris --CSVN SUITE FILE", whose lines end in " bm MOVE" (coordinates)
// after the suite's own operations.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench.h"
#include "files/eingabedatei.h"
#include "chess/attacks.h"
#include "chess/fen.h"
#include "chess/notation.h"
#include "eval/endspiel.h"
#include "platform/clock.h"
#include "shell/optionen.h"
#include "shell/suchgrenzen.h"
#include "shell/testausgabe.h"
#include "search/suche.h"

namespace {

// The moves named by one EPD operation ("bm Qg6 Qh5;").
std::vector<Zug> operationZuege(Stellung_t& st, const Stellungsdaten_t& d, const std::string& zeile, const char* op)
{
    std::vector<Zug> zuege;
    std::string suche = std::string(" ") + op + " ";
    auto pos = zeile.find(suche);
    if (pos == std::string::npos) return zuege;
    auto ende = zeile.find(';', pos);
    std::istringstream in(zeile.substr(pos + suche.size(), ende == std::string::npos ? std::string::npos : ende - pos - suche.size()));
    std::string text;
    while (in >> text) {
        Zug z = sanZugLesen(st, d, text.c_str());
        if (z) zuege.push_back(z);
    }
    return zuege;
}

} // namespace

int benchEpd(int argc, char** argv)
{
    tabellenInitialisieren();
    kbkTabelleBauen();
    int ms = 1000, threads = 1;
    const char* datei = nullptr;
    for (int i = 0; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--ms") && i + 1 < argc) ms = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--threads") && i + 1 < argc) threads = std::atoi(argv[++i]);
        else datei = argv[i];
    }
    if (!datei) {
        std::fprintf(stderr, "usage: velkaris_bench epd FILE [--ms T] [--threads N]\n");
        return 2;
    }
    Eingabestrom_t in(datei);
    if (!in) {
        std::fprintf(stderr, "cannot open %s\n", datei);
        return 2;
    }
    Optionen_t optionen(OPTIONEN_NORMAL);
    optionen.setzen(OPT_HASH, 64);
    optionen.setzen(OPT_OWNBOOK, 0);
    optionen.setzen(OPT_PROZESSOREN, threads);
    Suche_t suche;
    int gesamt = 0, geloest = 0;
    std::string zeile;
    while (std::getline(in, zeile)) {
        if (!zeile.empty() && zeile.back() == '\r') zeile.pop_back();
        if (zeile.empty() || zeile[0] == '#') continue;
        Stellung_t st;
        Stellungsdaten_t d;
        if (!stellungSetzen(st, d, zeile.c_str())) continue;
        // The four FEN fields end where the first operation begins.
        std::vector<Zug> bm = operationZuege(st, d, zeile, "bm");
        std::vector<Zug> am = operationZuege(st, d, zeile, "am");
        if (bm.empty() && am.empty()) continue;
        Suchgrenzen_t grenzen;
        GoParameter_t go;
        go.zugzeit = ms;
        grenzen.fuellen(go, false);
        TestAusgabe_t ausgabe;
        optionen.setzen(OPT_CLEAR_HASH, 1);
        suche.starten(st, optionen, Sucher_t::FLAG_SYNCHRON, grenzen, ausgabe);
        const Zug z = ausgabe.besterZug & 0xFFFF;
        bool ok = true;
        if (!bm.empty()) {
            ok = false;
            for (Zug b : bm) ok |= b == z;
        }
        for (Zug a : am) ok &= a != z;
        ++gesamt;
        geloest += ok;
        char text[8];
        zugSchreiben(st, z, text);
        auto id = zeile.find(" id ");
        std::printf("%s %-6s %s\n", ok ? "ok  " : "MISS", text, id == std::string::npos ? "" : zeile.c_str() + id + 4);
        std::fflush(stdout);
    }
    std::printf("solved %d of %d\n", geloest, gesamt);
    return 0;
}

int benchEpdWertung(const char* datei)
{
    tabellenInitialisieren();
    Eingabestrom_t in(datei);
    if (!in) {
        std::fprintf(stderr, "cannot open %s\n", datei);
        return 2;
    }
    int gesamt = 0, geloest = 0;
    std::string zeile;
    while (std::getline(in, zeile)) {
        const auto letztes = zeile.rfind(" bm ");
        if (letztes == std::string::npos) continue;
        Stellung_t st;
        Stellungsdaten_t d;
        if (!stellungSetzen(st, d, zeile.c_str())) continue;
        const std::string suite = zeile.substr(0, letztes);
        std::vector<Zug> bm = operationZuege(st, d, suite, "bm");
        std::vector<Zug> am = operationZuege(st, d, suite, "am");
        if (bm.empty() && am.empty()) continue;
        // "(not found)" reads as no move: never a solution.
        const Zug z = koordinatenZugLesen(st, zeile.c_str() + letztes + 4) & 0xFFFF;
        bool ok = z && bm.empty();
        for (Zug b : bm) ok |= z && (b & 0xFFFF) == z;
        for (Zug a : am) ok &= (a & 0xFFFF) != z;
        ++gesamt;
        geloest += ok;
    }
    std::printf("solved %d of %d\n", geloest, gesamt);
    return 0;
}
