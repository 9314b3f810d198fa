// Arbitrary bytes as an opening book text. Besides "no crash", it checks
// what the search relies on: a book that loads is sorted by key (heaviest
// first), every entry has a weight of at least 1, and walking it from the
// start position (entropy, end positions) finishes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "book/buch.h"
#include "bookcalc/buch_auswertung.h"
#include "chess/attacks.h"
#include "chess/fen.h"

namespace {
[[noreturn]] void fehler(const char* was)
{
    std::fprintf(stderr, "property violated: %s\n", was);
    std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse)
{
    static bool bereit = (tabellenInitialisieren(), true);
    static std::FILE* nichts = std::fopen("/dev/null", "w");
    (void)bereit;
    std::istringstream ein(std::string(reinterpret_cast<const char*>(daten), groesse));
    Buch_t buch;
    if (!buch.laden(ein)) {
        if (!buch.eintraege().empty()) fehler("a failed load left entries");
        return 0;
    }
    const auto& e = buch.eintraege();
    for (size_t i = 0; i < e.size(); ++i) {
        if (e[i].gewicht < 1) fehler("entry without weight");
        if (i && (e[i - 1].schluessel > e[i].schluessel ||
                  (e[i - 1].schluessel == e[i].schluessel && e[i - 1].gewicht < e[i].gewicht)))
            fehler("entries out of order");
    }
    const double h = buchEntropie(buch);
    if (!(h >= 0)) fehler("negative entropy");
    buchEndstellungen(buch, nichts);
    Stellung_t st;
    Stellungsdaten_t d;
    stellungSetzen(st, d, nullptr);
    Zug z, p;
    buch.nameSetzen("fuzz");
    buch.probe("fuzz", st, z, &p);
    return 0;
}
