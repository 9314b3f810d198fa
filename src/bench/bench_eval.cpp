// velkaris_bench eval: one FEN (with both move counters) per line on
// standard input; prints for each line the static score for the side to move
// (endgame recogniser and evaluation, as the search sees it), or "illegal"
// when the position is rejected. With --speed it prints instead how many
// evaluations per second it makes over the same positions, caches warm.
// With --terms it prints the evaluation's parts instead, all from White's
// point of view, for fitting the terms against another judge's scores:
//   phase balance pawns(mg eg) imbalance(mg eg) mobility(mg eg)
//   pieces-and-pawns(mg eg) king-endgame king-safety tempo blended result
//   static-for-side-to-move quiescence-for-side-to-move
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
#include "search/suche.h"
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

void teileZeigen(const Eintrag_t& e, MaterialTable& mt, PawnTable& pt, Suche_t& suche)
{
    Bewertungsteile_t t;
    bewertungsteile(e.st, e.d, mt, pt, t);
    const PackedScore mob = t.mobilitaet[WEISS] - t.mobilitaet[SCHWARZ];
    std::printf("%d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d\n", int(t.phase), int(t.bilanz),
                int(t.bauern.mg()), int(t.bauern.eg()), int(t.ungleichgewicht.mg()), int(t.ungleichgewicht.eg()),
                int(mob.mg()), int(mob.eg()), int(t.figurenBauern.mg()), int(t.figurenBauern.eg()),
                int(t.koenigEndspiel), int(t.koenigssicherheit), e.st.amZug == WEISS ? 1 : -1, int(t.gemischt),
                int(t.ergebnis), int(statischeBewertung(e.st, e.d, mt, pt)),
                int(suche.ruhewert(e.st, -MATT_WERT - 1, MATT_WERT + 1)));
}

} // namespace

int benchEval(int argc, char** argv)
{
    bool speed = false, terms = false;
    for (int i = 0; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--speed")) {
            speed = true;
        } else if (!std::strcmp(argv[i], "--terms")) {
            terms = true;
        } else {
            std::fprintf(stderr, "eval: unknown argument %s (usage: velkaris_bench eval [--speed | --terms] < fens)\n", argv[i]);
            return 2;
        }
    }
    if (speed && terms) {
        std::fprintf(stderr, "eval: --speed and --terms exclude each other\n");
        return 2;
    }
    tabellenInitialisieren();
    kbkTabelleBauen();

    auto mt = std::make_unique<MaterialTable>();
    auto pt = std::make_unique<PawnTable>();
    std::unique_ptr<Suche_t> suche;
    if (terms) suche = std::make_unique<Suche_t>();
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
        if (ok && terms)
            teileZeigen(e, *mt, *pt, *suche);
        else if (ok)
            std::printf("%d\n", int(statischeBewertung(e.st, e.d, *mt, *pt)));
        else
            std::printf("illegal\n");
    }
    if (speed) return messen(stellungen, *mt, *pt);
    return 0;
}
