// The program's entry point: the command-line tools, or the engine that
// learns its protocol from the first console line and then hands every line
// to the interpreter until "quit" or the end of input.
#include <cstdio>
#include <cstring>
#include <memory>

#include "bitbase/erklaeren.h"
#include "bitbase/generator.h"
#include "bitbase/pruefung.h"
#include "bookcalc/buchbaum.h"
#include "chess/attacks.h"
#include "eval/endspiel.h"
#include "gamefiles/csvn.h"
#include "gamefiles/testpos.h"
#include "protocol/uci.h"
#include "protocol/uci_ausgabe.h"
#include "protocol/xboard.h"
#include "protocol/xboard_ausgabe.h"
#include "search/suche.h"
#include "search/suche_zufall.h"
#include "search/sucher.h"
#include "shell/ausgabe.h"
#include "shell/beenden.h"
#include "shell/eingabe.h"
#include "shell/konsole.h"
#include "shell/optionen.h"
#include "shell/suchgrenzen.h"

namespace {

// Everything the engine owns for the whole run. The members are destroyed
// explicitly in the order of beenden(); the order matters, because the
// interpreter uses the channel and the searcher, and the searcher's last
// search still reports through the channel.
struct Engine {
    std::unique_ptr<Sucher_t> sucher;
    const OptionEintrag_t* optionen = OPTIONEN_NORMAL;
    std::unique_ptr<Suchgrenzen_t> grenzen;
    std::unique_ptr<Ausgabe_t> ausgabe;
    // The interpreter that receives the lines, and the UCI interpreter
    // behind it (the same object in UCI mode).
    std::unique_ptr<Eingabe_t> eingabe;
    UciInterface_t* uci = nullptr;
    // In modes whose interpreter drives a separate UCI interpreter, that
    // inner one is owned here.
    std::unique_ptr<UciInterface_t> innereUci;

    ~Engine() { beenden(); }

    void beenden()
    {
        eingabe.reset();
        uci = nullptr;
        innereUci.reset();
        ausgabe.reset();
        sucher.reset();
        grenzen.reset();
    }
};

// The command-line tools. Each runs and ends the program with its exit
// code; true when argv named one.
bool werkzeugAusfuehren(int argc, char** argv, int& rc)
{
    if (argc == 3 && !std::strcmp(argv[1], "--CreateBitbase")) {
        rc = bitbaseWerkzeug(argv[2]);
        return true;
    }
    if (argc == 3 && !std::strcmp(argv[1], "--ExplainBitbase")) {
        rc = bitbaseErklaeren(argv[2]);
        return true;
    }
    if (argc == 3 && !std::strcmp(argv[1], "--VerifyBitbase")) {
        rc = bitbaseVerzeichnisPruefen(argv[2], stdout);
        return true;
    }
    if (argc == 3 && !std::strcmp(argv[1], "--Testpos")) {
        rc = testposWerkzeug(argv[2]);
        return true;
    }
    if (argc >= 2 && !std::strcmp(argv[1], "--book")) {
        rc = buchWerkzeug(argc, argv);
        return true;
    }
    if (argc == 4 && !std::strcmp(argv[1], "--CSVN")) {
        rc = csvnWerkzeug(argv[2], argv[3]);
        return true;
    }
    return false;
}

// Arguments that choose the engine's set-up instead of a tool; true when
// the argument was one of them. "--Rnd" makes the engine play random legal
// moves (a second one replaces the first random mover) and lists no options.
bool startArgument(const char* arg, Engine& e)
{
    if (!std::strcmp(arg, "--Rnd")) {
        e.sucher.reset();
        e.sucher = std::make_unique<SucheZufall_t>();
        e.optionen = OPTIONEN_LEER;
        return true;
    }
    return false;
}

// The first word chooses the protocol; false for an unknown word.
bool protokollWaehlen(const char* wort, Engine& e)
{
    if (!std::strcmp(wort, "uci") || !std::strcmp(wort, "ucitest")) {
        e.grenzen = std::make_unique<Suchgrenzen_t>();
        if (!std::strcmp(wort, "uci")) e.ausgabe = std::make_unique<UciAusgabe_t>(e.optionen);
        else e.ausgabe = std::make_unique<UciTestausgabe_t>(*e.grenzen);
        auto uci = std::make_unique<UciInterface_t>(*e.sucher, e.optionen, *e.grenzen, *e.ausgabe);
        e.uci = uci.get();
        e.eingabe = std::move(uci);
        return true;
    }
    if (!std::strcmp(wort, "xboard")) {
        // XBoard commands are translated for a UCI interpreter of their own;
        // the channel hands the engine's moves back to the XBoard side.
        e.grenzen = std::make_unique<Suchgrenzen_t>();
        auto aus = std::make_unique<XBoardAusgabe_t>(*e.grenzen);
        e.innereUci = std::make_unique<UciInterface_t>(*e.sucher, e.optionen, *e.grenzen, *aus);
        auto xboard = std::make_unique<XBoardInterface_t>(*e.innereUci, e.innereUci->optionen(), *aus);
        aus->xboardSetzen(xboard.get());
        e.ausgabe = std::move(aus);
        e.eingabe = std::move(xboard);
        return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    // Tables every part of the engine reads; built before anything else.
    tabellenInitialisieren();
    kbkTabelleBauen();

    int rc = 0;
    if (werkzeugAusfuehren(argc, argv, rc)) return rc;

    Engine e;
    for (int i = 1; i < argc; ++i) {
        if (startArgument(argv[i], e)) continue;
        std::fprintf(stderr, "illegal command line argument argv[%d] = \"%s\"\n", i, argv[i]);
    }
    if (!e.sucher) e.sucher = std::make_unique<Suche_t>();

    KonsolenLeser_t leser(stdin);
    leser.ungepuffert();
    while (!programmBeenden.load() && leser.naechsteZeile()) {
        if (e.eingabe) {
            e.eingabe->Zeile(leser.zeile());
        } else if (!protokollWaehlen(leser.wort(), e)) {
            std::fprintf(stderr, "'uci' or 'xboard' expected\n");
            std::fflush(stderr);
        }
    }

    // The input ended without "quit": shut down through the interpreter's
    // own commands. A timed search still runs to its end and reports its
    // move; a search without an end of its own is stopped first. Under
    // XBoard nobody is left to read a move: its "quit" stops the search.
    if (!programmBeenden.load() && e.innereUci) {
        e.eingabe->Zeile("quit");
    } else if (!programmBeenden.load() && e.eingabe) {
        if (e.uci && e.uci->sucheOhneEnde()) e.eingabe->Zeile("stop");
        e.eingabe->Zeile("position startpos");
        e.eingabe->Zeile("quit");
    }
    e.beenden();
    return 0;
}
