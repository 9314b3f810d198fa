// velkaris_bench eval: one FEN (with both move counters) per line on
// standard input; prints for each line the static score for the side to move
// (endgame recogniser and evaluation, as the search sees it), or "illegal"
// when the position is rejected. With --speed it prints instead how many
// evaluations per second it makes over the same positions, caches warm.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench.h"
#include "chess/attacks.h"
#include "chess/fen.h"
#include "eval/endspiel.h"
#include "eval/statisch.h"
#include "platform/clock.h"

namespace {

struct Eintrag_t {
    Stellung_t st;
    Stellungsdaten_t d;
};

int messen(const std::vector<Eintrag_t>& stellungen, MaterialTable& mt, PawnTable& pt)
{
    if (stellungen.empty()) {
        std::fprintf(stderr, "eval --speed: no legal positions on input\n");
        return 1;
    }
    // Warm the caches (the checksum of this one pass identifies the
    // scores), then repeat the whole list for about two seconds.
    int64_t pruefsumme = 0;
    for (const Eintrag_t& e : stellungen) pruefsumme += statischeBewertung(e.st, e.d, mt, pt);
    int64_t senke = 0;
    uint64_t anzahl = 0;
    const int64_t start = jetztMs();
    int64_t dauer = 0;
    do {
        for (int runde = 0; runde < 16; ++runde)
            for (const Eintrag_t& e : stellungen) senke += statischeBewertung(e.st, e.d, mt, pt);
        anzahl += 16 * stellungen.size();
        dauer = jetztMs() - start;
    } while (dauer < 2000);
    if (senke == INT64_MIN) std::printf("\n"); // keeps the timed loop
    std::printf("eval: %zu positions, %llu evaluations in %lld ms, %.0f evaluations per second (checksum %lld)\n",
                stellungen.size(), (unsigned long long)anzahl, (long long)dauer, anzahl * 1000.0 / double(dauer),
                (long long)pruefsumme);
    return 0;
}

} // namespace

int benchEval(int argc, char** argv)
{
    bool speed = false;
    for (int i = 0; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--speed")) {
            speed = true;
        } else {
            std::fprintf(stderr, "eval: unknown argument %s (usage: velkaris_bench eval [--speed] < fens)\n", argv[i]);
            return 2;
        }
    }
    tabellenInitialisieren();
    kbkTabelleBauen();

    auto mt = std::make_unique<MaterialTable>();
    auto pt = std::make_unique<PawnTable>();
    std::vector<Eintrag_t> stellungen;
    std::string zeile;
    while (std::getline(std::cin, zeile)) {
        while (!zeile.empty() && std::strchr(" \t\r\n", zeile.back())) zeile.pop_back();
        Eintrag_t e;
        bool ok = !zeile.empty() && stellungSetzen(e.st, e.d, zeile.c_str());
        if (speed) {
            if (ok) stellungen.push_back(e);
            continue;
        }
        if (ok)
            std::printf("%d\n", int(statischeBewertung(e.st, e.d, *mt, *pt)));
        else
            std::printf("illegal\n");
    }
    if (speed) return messen(stellungen, *mt, *pt);
    return 0;
}
