// Arbitrary bytes as console input to the UCI interpreter: the bytes go
// through the real console reader (line splitting, trimming, NUL bytes) and
// every line that holds a word reaches UciInterface_t. Output goes nowhere.
// Perft depth and every "go" are capped so that one input stays fast.
#include <cstdint>
#include <cstdio>

#include "chess/attacks.h"
#include "eval/endspiel.h"
#include "protocol/uci.h"
#include "protocol/uci_ausgabe.h"
#include "search/suche.h"
#include "shell/beenden.h"
#include "shell/konsole.h"
#include "shell/optionen.h"
#include "shell/suchgrenzen.h"

namespace {
Suche_t* sucher()
{
    static Suche_t* s = [] {
        tabellenInitialisieren();
        kbkTabelleBauen();
        return new Suche_t();
    }();
    return s;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse)
{
    if (groesse == 0) return 0;
    static std::FILE* nirgends = std::fopen("/dev/null", "w");
    Suche_t* s = sucher();

    std::FILE* ein = fmemopen(const_cast<uint8_t*>(daten), groesse, "r");
    if (!ein) return 0;
    programmBeenden.store(false);
    {
        Suchgrenzen_t grenzen;
        UciAusgabe_t aus(OPTIONEN_NORMAL, nirgends);
        UciInterface_t uci(*s, OPTIONEN_NORMAL, grenzen, aus);
        uci.fuerFuzzerBegrenzen(2, 1);
        KonsolenLeser_t leser(ein);
        while (!programmBeenden.load() && leser.naechsteZeile()) uci.Zeile(leser.zeile());
        // The channel dies with this block: no search may still use it.
        s->stoppen();
    }
    std::fclose(ein);
    return 0;
}
