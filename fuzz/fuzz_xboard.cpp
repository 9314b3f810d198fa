// Arbitrary bytes as console input to the XBoard interpreter: the bytes go
// through the real console reader, and every line reaches XBoardInterface_t,
// which drives a real inner UCI interpreter and searcher through its queue.
// The session starts as an interface would ("protover 2"), so the input
// explores the commands instead of the version check. Every search is cut to
// one iteration; output goes nowhere. An input that does not quit is ended
// the way the start-up ends one.
#include <cstdint>
#include <cstdio>
#include <new>

#include "chess/attacks.h"
#include "eval/endspiel.h"
#include "protocol/uci.h"
#include "protocol/xboard.h"
#include "protocol/xboard_ausgabe.h"
#include "search/suche.h"
#include "shell/beenden.h"
#include "shell/konsole.h"
#include "shell/optionen.h"
#include "shell/suchgrenzen.h"

namespace {
// "memory" may ask for tens of gigabytes; the fuzzer's machine pretends to
// have 256 MB, so the table takes the path of a refused allocation.
void* kleinZuteilen(size_t bytes)
{
    if (bytes > (size_t(256) << 20)) return nullptr;
    return ::operator new(bytes, std::align_val_t{64}, std::nothrow);
}

void kleinFreigeben(void* p)
{
    ::operator delete(p, std::align_val_t{64});
}

Suche_t* sucher()
{
    static Suche_t* s = [] {
        tabellenInitialisieren();
        kbkTabelleBauen();
        Suche_t* neu = new Suche_t();
        neu->tabelle().zuteilerSetzen(kleinZuteilen, kleinFreigeben);
        return neu;
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
        XBoardAusgabe_t aus(grenzen, nirgends);
        UciInterface_t uci(*s, OPTIONEN_NORMAL, grenzen, aus);
        uci.fuerFuzzerBegrenzen(2, 1);
        XBoardInterface_t xboard(uci, uci.optionen(), aus);
        aus.xboardSetzen(&xboard);
        xboard.Zeile("protover 2");
        KonsolenLeser_t leser(ein);
        while (!programmBeenden.load() && leser.naechsteZeile()) xboard.Zeile(leser.zeile());
        if (!programmBeenden.load()) xboard.Zeile("quit");
    }
    // The channel died with the block: no search may still use it.
    s->stoppen();
    std::fclose(ein);
    return 0;
}
