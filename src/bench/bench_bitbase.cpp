// velkaris_bench bitbase ...: the bitbases seen from outside.
//   bitbase DIR < fens            one word per FEN: win, draw, loss (for the
//                                 side to move) or unknown
//   bitbase-speed DIR MATERIAL [N]  probes per second, cold and warm cache
//   bitbase-count DIR MATERIAL    won positions with the first side to move,
//                                 every placement of the full board
//   bitbase-fens MATERIAL N       N random legal positions as FEN lines
//                                 (start positions for endgame matches)
//   bitbase-rules DIR             make rules for every bitbase `make
//                                 bitbases` builds (see Makefile)
#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "bench/bench.h"
#include "bitbase/cache.h"
#include "bitbase/generator.h"
#include "bitbase/index.h"
#include "chess/attacks.h"
#include "chess/fen.h"
#include "chess/spiel.h"
#include "gamefiles/zeilenleser.h"
#include "platform/clock.h"

namespace {

constexpr uint64_t BENCH_CACHE = 64 * 1048576ull;

BbSeite_t seiteVon(const Stellung_t& st, int s)
{
    BbSeite_t b;
    const Seite_t& ss = st.seite[s];
    b.typ[0] = KOENIG;
    b.feld[0] = ss.koenig;
    b.anzahl = 1;
    for (int t = BAUER; t <= DAME; ++t)
        for (int i = 0; i < ss.anzahl[t] && b.anzahl < 5; ++i) {
            b.typ[b.anzahl] = uint8_t(t);
            b.feld[b.anzahl++] = ss.liste[t - 1][i];
        }
    return b;
}

// The side to move's result, or "unknown".
const char* urteil(BitbaseCache_t& cache, const char* fen)
{
    Stellung_t st;
    Stellungsdaten_t d;
    if (!stellungSetzen(st, d, fen) || st.rochade || popcount(st.belegt()) > 5) return "unknown";
    int r;
    if (!bitbaseProbe(cache, seiteVon(st, 0), seiteVon(st, 1), st.amZug, st.ep, false, r)) return "unknown";
    if (st.amZug == SCHWARZ) r = -r;
    return r > 0 ? "win" : r < 0 ? "loss" : "draw";
}

void meldungen(BitbaseCache_t& cache)
{
    for (const std::string& m : cache.meldungenAbholen()) std::fprintf(stderr, "%s\n", m.c_str());
}

// One answer for every non-empty input line, whatever its length (a line
// too long for a FEN is "unknown").
int urteile(const char* verzeichnis)
{
    BitbaseCache_t cache(BENCH_CACHE);
    cache.setPath(verzeichnis);
    std::string zeile;
    bool zuLang = false;
    while (zeileLesen(stdin, zeile, 511, zuLang)) {
        if (zeile.empty() && !zuLang) continue;
        std::printf("%s\n", zuLang ? "unknown" : urteil(cache, zeile.c_str()));
        std::fflush(stdout);
        meldungen(cache);
    }
    return 0;
}

// Random legal positions of the material, probed once with an empty cache
// and once more with every block cached.
int tempo(const char* verzeichnis, const char* name, int anzahl)
{
    BbStellung_t m;
    if (!materialLesen(name, m)) {
        std::fprintf(stderr, "invalid material name %s\n", name);
        return 2;
    }
    std::vector<BbStellung_t> stellungen;
    uint64_t x = 0x9E3779B97F4A7C15ull;
    while (int(stellungen.size()) < anzahl) {
        x ^= x << 13, x ^= x >> 7, x ^= x << 17;
        BbStellung_t b = m;
        if (bbDekodieren(x % bbPositionen(m), b) && bbLegal(b)) stellungen.push_back(b);
    }
    BitbaseCache_t cache(BENCH_CACHE);
    cache.setPath(verzeichnis);
    for (int runde = 0; runde < 2; ++runde) {
        const int64_t start = jetztMs();
        int bekannt = 0;
        for (const BbStellung_t& b : stellungen) {
            BbSeite_t w, s;
            for (int j = 0; j < b.n; ++j) {
                BbSeite_t& z = b.seiteVon(j) == 0 ? w : s;
                z.typ[z.anzahl] = b.typ[j];
                z.feld[z.anzahl++] = b.feld[j];
            }
            int r;
            bekannt += bitbaseProbe(cache, w, s, b.amZug, b.ep, false, r);
        }
        meldungen(cache);
        const int64_t ms = std::max<int64_t>(1, jetztMs() - start);
        std::printf("%s %s: %d probes, %d answered, %" PRId64 " ms, %.0f probes/s, %" PRIu64 " blocks read\n", name,
                    runde == 0 ? "cold" : "warm", anzahl, bekannt, ms, anzahl * 1000.0 / double(ms), cache.gelesen());
    }
    return 0;
}

int fens(const char* name, int anzahl)
{
    BbStellung_t m;
    if (!materialLesen(name, m)) {
        std::fprintf(stderr, "invalid material name %s\n", name);
        return 2;
    }
    uint64_t x = 0x2545F4914F6CDD1Dull ^ uint64_t(anzahl);
    for (int n = 0; n < anzahl;) {
        x ^= x << 13, x ^= x >> 7, x ^= x << 17;
        BbStellung_t b = m;
        if (!bbDekodieren(x % bbPositionen(m), b) || !bbLegal(b) || b.ep) continue;
        Stellung_t st{};
        for (int j = 0; j < b.n; ++j) {
            Seite_t& s = st.seite[b.seiteVon(j)];
            s.bb[b.typ[j]] |= bit(b.feld[j]);
            s.bb[0] |= bit(b.feld[j]);
        }
        st.amZug = b.amZug;
        if (!seiteValidieren(st.seite[0]) || !seiteValidieren(st.seite[1])) continue;
        Stellungsdaten_t d;
        datenBerechnen(st, d);
        if (partieEnde(st, d)) continue;
        char fen[128];
        fenSchreiben(st, fen);
        std::printf("%s 0 1\n", fen);
        ++n;
    }
    return 0;
}

// Every placement with the first side to move (no en-passant squares):
// how many are legal, and how many of those the file marks won.
int zaehlen(const char* verzeichnis, const char* name)
{
    BbStellung_t m;
    if (!materialLesen(name, m)) {
        std::fprintf(stderr, "invalid material name %s\n", name);
        return 2;
    }
    BitbaseCache_t cache(BENCH_CACHE);
    cache.setPath(verzeichnis);
    uint64_t platzierungen = 1;
    for (int j = 0; j < m.n; ++j) platzierungen *= 64;
    uint64_t legal = 0, gewonnen = 0, fehlt = 0;
    const int64_t start = jetztMs();
    for (uint64_t p = 0; p < platzierungen; ++p) {
        BbStellung_t b = m;
        uint64_t q = p;
        for (int j = b.n - 1; j >= 0; --j, q >>= 6) b.feld[j] = uint8_t(q & 63);
        if (!bbLegal(b)) continue;
        ++legal;
        const int w = cache.lookup(b.name, bbIndex(b), false);
        if (w < 0) ++fehlt;
        else gewonnen += uint64_t(w);
    }
    meldungen(cache);
    std::printf("%s: %" PRIu64 " legal placements with the first side to move, %" PRIu64 " won, %" PRIu64
                " not available (%" PRId64 " ms)\n",
                name, legal, gewonnen, fehlt, jetztMs() - start);
    return fehlt ? 1 : 0;
}

// Every material of up to four pieces, the five-piece sets a player most
// needs, everything they convert into, and all of it in both colour orders.
int regeln(const char* verzeichnis)
{
    const char* const STEINE = "DTLSB";
    std::vector<std::string> ziele;
    for (int a = 0; a < 5; ++a) {
        ziele.push_back(std::string("K") + STEINE[a] + "K");
        for (int b = a; b < 5; ++b) ziele.push_back(std::string("K") + STEINE[a] + STEINE[b] + "K");
        for (int b = 0; b < 5; ++b) ziele.push_back(std::string("K") + STEINE[a] + "K" + STEINE[b]);
    }
    for (const char* n : {"KTBKT", "KDBKD", "KTBKL", "KLBKL"}) ziele.push_back(n);
    std::set<std::string> alle;
    std::vector<std::string> offen;
    auto hinzu = [&](const std::string& n) {
        for (const std::string& x : {n, bitbaseUmgekehrt(n.c_str())})
            if (alle.insert(x).second) offen.push_back(x);
    };
    for (const std::string& z : ziele) hinzu(z);
    while (!offen.empty()) {
        const std::string n = offen.back();
        offen.pop_back();
        for (const std::string& b : bitbaseBenoetigt(n.c_str())) hinzu(b);
    }
    auto datei = [&](const std::string& n) { return std::string(verzeichnis) + "/" + n + ".vbb"; };
    std::printf("# Generated by velkaris_bench bitbase-rules; VELKARIS names the program.\n");
    std::printf("all-bitbases:");
    for (const std::string& n : alle) std::printf(" %s", datei(n).c_str());
    std::printf("\nbitbases-4:");
    for (const std::string& n : alle)
        if (n.size() <= 4) std::printf(" %s", datei(n).c_str());
    std::printf("\n.PHONY: all-bitbases bitbases-4\n");
    for (const std::string& n : alle) {
        std::printf("%s:", datei(n).c_str());
        for (const std::string& b : bitbaseBenoetigt(n.c_str())) std::printf(" %s", datei(b).c_str());
        std::printf("\n\t@cd %s && t=$$(date +%%s%%N) && $(VELKARIS) --CreateBitbase %s > %s.log && "
                    "echo \"%s $$(( ($$(date +%%s%%N) - t) / 1000000 )) ms\" | tee -a zeiten.txt\n",
                    verzeichnis, n.c_str(), n.c_str(), n.c_str());
    }
    return 0;
}

} // namespace

int benchBitbase(int argc, char** argv)
{
    tabellenInitialisieren();
    if (argc >= 2 && !std::strcmp(argv[0], "bitbase")) return urteile(argv[1]);
    if (argc >= 3 && !std::strcmp(argv[0], "bitbase-speed")) return tempo(argv[1], argv[2], argc > 3 ? std::atoi(argv[3]) : 100000);
    if (argc >= 3 && !std::strcmp(argv[0], "bitbase-count")) return zaehlen(argv[1], argv[2]);
    if (argc >= 2 && !std::strcmp(argv[0], "bitbase-rules")) return regeln(argv[1]);
    if (argc >= 3 && !std::strcmp(argv[0], "bitbase-fens")) return fens(argv[1], std::atoi(argv[2]));
    std::fprintf(stderr, "usage: velkaris_bench bitbase DIR < fens | bitbase-speed DIR MATERIAL [N] | bitbase-count DIR "
                         "MATERIAL | bitbase-rules DIR\n");
    return 2;
}
