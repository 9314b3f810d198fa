#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench.h"
#include "files/eingabedatei.h"
#include "chess/attacks.h"
#include "chess/fen.h"
#include "chess/perft.h"
#include "platform/clock.h"

namespace {

struct Lauf {
    const char* name;
    const char* fen;
    int tiefe;
};

uint64_t messen(const char* fen, int tiefe, int hashMb, int64_t& ms)
{
    Stellung_t st;
    Stellungsdaten_t d;
    stellungSetzen(st, d, fen);
    PerftTabelle_t tabelle{uint64_t(hashMb)};
    int64_t start = jetztMs();
    uint64_t n = perft(&tabelle, st, d, tiefe);
    ms = jetztMs() - start;
    return n;
}

} // namespace

int benchPerft(int, char**)
{
    tabellenInitialisieren();
    const Lauf laeufe[] = {
        {"start", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 6},
        {"kiwipete", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 5},
    };
    for (int hash : {0, 64}) {
        for (const Lauf& l : laeufe) {
            int64_t ms = 0;
            uint64_t n = messen(l.fen, l.tiefe, hash, ms);
            double nps = double(n) * 1000.0 / double(ms > 0 ? ms : 1);
            std::printf("perft %-8s depth %d hash %2d MB: %12" PRIu64 " nodes %7" PRId64 " ms %12.0f nodes/s\n", l.name,
                        l.tiefe, hash, n, ms, nps);
            std::fflush(stdout);
        }
    }
    return 0;
}

// perft-suite [--budget N] [--hash MB] FILES...: every position of the given
// perft files at each listed depth whose expected count does not exceed the
// node budget. Understands "FEN ;D1 n ;D2 n" lines (with or without blanks
// around the semicolons) and the block format "epd FEN" / "perft D n".
// A position the FEN reader refuses (castling rights without the king and
// rook on their squares, say) counts as refused, once, and is no failure.
// One line per file as it starts and as it ends, so long files show
// progress.
int benchPerftSuite(int argc, char** argv)
{
    tabellenInitialisieren();
    uint64_t budget = 200000000;
    int hash = 16;
    std::vector<std::string> dateien;
    for (int i = 0; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--budget") && i + 1 < argc) budget = std::strtoull(argv[++i], nullptr, 10);
        else if (!std::strcmp(argv[i], "--hash") && i + 1 < argc) hash = std::atoi(argv[++i]);
        else dateien.push_back(argv[i]);
    }
    if (dateien.empty()) {
        std::fprintf(stderr, "perft-suite: no files\n");
        return 2;
    }
    PerftTabelle_t tabelle(uint64_t(hash > 0 ? hash : 0));
    uint64_t geprueft = 0, fehler = 0, uebersprungen = 0, abgelehnt = 0, knoten = 0;
    int64_t start = jetztMs();
    // The position of the line (or block) being checked, read once and
    // copied for every depth listed for it.
    Stellung_t geladen;
    Stellungsdaten_t geladenDaten;
    auto annehmbar = [&](const std::string& fen, const std::string& wo) {
        if (stellungSetzen(geladen, geladenDaten, fen.c_str())) return true;
        std::printf("REFUSED %s: %s\n", wo.c_str(), fen.c_str());
        ++abgelehnt;
        return false;
    };
    auto pruefen = [&](const std::string& fen, int tiefe, uint64_t erwartet, const std::string& wo) {
        if (erwartet > budget) {
            ++uebersprungen;
            return;
        }
        Stellung_t st = geladen;
        uint64_t n = perft(&tabelle, st, geladenDaten, tiefe);
        knoten += n;
        ++geprueft;
        if (n != erwartet) {
            ++fehler;
            std::printf("MISMATCH %s depth %d: got %" PRIu64 " expected %" PRIu64 ": %s\n", wo.c_str(), tiefe, n, erwartet,
                        fen.c_str());
        }
    };
    for (const std::string& datei : dateien) {
        Eingabestrom_t in(datei);
        if (!in) {
            std::printf("cannot open %s\n", datei.c_str());
            ++fehler;
            continue;
        }
        std::printf("perft-suite: %s\n", datei.c_str());
        std::fflush(stdout);
        const uint64_t vorher[] = {geprueft, fehler, abgelehnt, uebersprungen};
        const int64_t dateiStart = jetztMs();
        std::string zeile, blockFen;
        int nr = 0;
        while (std::getline(in, zeile)) {
            ++nr;
            if (!zeile.empty() && zeile.back() == '\r') zeile.pop_back();
            std::string wo = datei + ":" + std::to_string(nr);
            if (zeile.empty() || zeile[0] == '#') continue;
            if (zeile.rfind("epd ", 0) == 0) {
                blockFen = zeile.substr(4);
                if (!annehmbar(blockFen, wo)) blockFen.clear();
                continue;
            }
            if (zeile.rfind("perft ", 0) == 0) {
                int t = 0;
                unsigned long long e = 0;
                if (std::sscanf(zeile.c_str() + 6, "%d %llu", &t, &e) == 2 && !blockFen.empty())
                    pruefen(blockFen, t, e, wo);
                continue;
            }
            if (zeile.rfind("id ", 0) == 0) continue;
            auto semi = zeile.find(';');
            if (semi == std::string::npos) continue;
            std::string fen = zeile.substr(0, semi);
            if (!annehmbar(fen, wo)) continue;
            for (size_t p = semi; p != std::string::npos; p = zeile.find(';', p + 1)) {
                const char* q = zeile.c_str() + p + 1;
                while (*q == ' ') ++q;
                int t = 0;
                unsigned long long e = 0;
                if (std::sscanf(q, "D%d %llu", &t, &e) == 2) pruefen(fen, t, e, wo);
            }
        }
        std::printf("perft-suite: %s: %" PRIu64 " checks, %" PRIu64 " failures, %" PRIu64 " refused, %" PRIu64
                    " skipped in %.1f s\n",
                    datei.c_str(), geprueft - vorher[0], fehler - vorher[1], abgelehnt - vorher[2],
                    uebersprungen - vorher[3], double(jetztMs() - dateiStart) / 1000.0);
        std::fflush(stdout);
    }
    int64_t ms = jetztMs() - start;
    std::printf("perft-suite: %" PRIu64 " checks, %" PRIu64 " failures, %" PRIu64 " positions refused, %" PRIu64
                " skipped above the budget of %" PRIu64 " nodes; %" PRIu64 " nodes in %" PRId64 " ms\n",
                geprueft, fehler, abgelehnt, uebersprungen, budget, knoten, ms);
    return fehler ? 1 : 0;
}
