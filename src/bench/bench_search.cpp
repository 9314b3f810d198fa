// velkaris_bench search: a fixed set of positions, each searched to a fixed
// depth on one (or N) threads with a fresh 16 MB table and cleared history.
// The node total is the search's signature: it changes only when the search
// or the evaluation changes on purpose.
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/bench.h"
#include "chess/attacks.h"
#include "chess/fen.h"
#include "chess/notation.h"
#include "eval/endspiel.h"
#include "platform/clock.h"
#include "search/suche.h"
#include "shell/optionen.h"
#include "shell/suchgrenzen.h"
#include "shell/testausgabe.h"

namespace {

constexpr const char* STELLUNGEN[] = {
    // openings
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 2",
    "r1bqkbnr/ppnppp1p/2p3p1/8/3PP3/2NB4/PPP2PPP/R1BQK1NR w KQkq - 0 5",
    "rnbqk1nr/p2pppbp/1p4p1/2p5/2PPP3/5N2/PP3PPP/RNBQKB1R w KQkq c6 0 5",
    "rnbqkb1r/p3pppp/1p6/2ppP3/3N4/2P5/PPP1QPPP/R1B1KB1R w KQkq - 0 7",
    "r1bqk2r/pppp1ppp/2n2n2/2b1p3/2B1P3/3P1N2/PPP2PPP/RNBQK2R w KQkq - 4 5",
    // middlegames
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "1k1r4/pp1b1R2/3q2pp/4p3/2B5/4Q3/PPP2B2/2K5 b - - 0 1",
    "3r1k2/4npp1/1ppr3p/p6P/P2PPPP1/1NR5/5K2/2R5 w - - 0 1",
    "2q1rr1k/3bbnnp/p2p1pp1/2pPp3/PpP1P1P1/1P2BNNP/2BQ1PRK/7R b - - 0 1",
    "r1b2rk1/2q1b1pp/p2ppn2/1p6/3QP3/1BN1B3/PPP3PP/R4RK1 w - - 0 1",
    "1nk1r1r1/pp2n1pp/4p3/q2pPp1N/b1pP1P2/B1P2R2/2P1B1PP/R2Q2K1 w - - 0 1",
    "2kr1bnr/pbpq4/2n1pp2/3p3p/3P1P1B/2N2N1Q/PPP3PP/2KR1B1R w - - 0 1",
    "3rr1k1/pp3pp1/1qn2np1/8/3p4/PP1R1P2/2P1NQPP/R1B3K1 b - - 0 1",
    "2r1nrk1/p2q1ppp/bp1p4/n1pPp3/P1P1P3/2PBB1N1/4QPPP/R4RK1 w - - 0 1",
    "r3r1k1/ppqb1ppp/8/4p1NQ/8/2P5/PP3PPP/R3R1K1 b - - 0 1",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
    "r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1",
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
    "r2q1rk1/4bppp/p2p4/2pP4/3pP3/3Q4/PP1B1PPP/R3R1K1 w - - 0 1",
    "rnb2r1k/pp2p2p/2pp2p1/q2P1p2/8/1Pb2NP1/PB2PPBP/R2Q1RK1 w - - 0 1",
    "2r3k1/1p2q1pp/2b1pr2/p1pp4/6Q1/1P1PP1R1/P1PN2PP/5RK1 w - - 0 1",
    "r1bqkb1r/4npp1/p1p4p/1p1pP1B1/8/1B6/PPPN1PPP/R2Q1RK1 w kq - 0 1",
    "r2q1rk1/1ppnbppp/p2p1nb1/3Pp3/2P1P1P1/2N2N1P/PPB1QP2/R1B2RK1 b - - 0 1",
    "r1bq1rk1/pp2ppbp/2np2p1/2n5/P3PP2/N1P2N2/1PB3PP/R1B1QRK1 b - - 0 1",
    "3rr3/2pq2pk/p2p1pnp/8/2QBPP2/1P6/P5PP/4RRK1 b - - 0 1",
    "r4k2/pb2bp1r/1p1qp2p/3pNp2/3P1P2/2N3P1/PPP1Q2P/2KRR3 w - - 0 1",
    "3rn2k/ppb2rpp/2ppqp2/5N2/2P1P3/1P5Q/PB3PPP/3RR1K1 w - - 0 1",
    "2r2rk1/1bqnbpp1/1p1ppn1p/pP6/N1P1P3/P2B1N1P/1B2QPP1/R2R2K1 b - - 0 1",
    // endgames
    "2r3k1/pppR1pp1/4p3/4P1P1/5P2/1P4K1/P1P5/8 w - - 0 1",
    "4b3/p3kp2/6p1/3pP2p/2pP1P2/4K1P1/P3N2P/8 w - - 0 1",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "8/8/8/5k2/8/8/4PK2/8 w - - 0 1",
    "8/8/3k4/8/8/8/2R5/3K4 w - - 0 1",
    "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1",
    "8/5pk1/6p1/8/5P2/6P1/r4BK1/8 w - - 0 1",
    "8/8/1p1k4/1P6/2K5/8/8/8 w - - 0 1",
    "7k/8/8/3BN3/8/8/8/4K3 w - - 0 1",
    // Chess960
    "bbqnnrkr/pppppppp/8/8/8/8/PPPPPPPP/BBQNNRKR w KQkq - 0 1",
    "bqnbnrkr/pppppppp/8/8/8/8/PPPPPPPP/BQNBNRKR w KQkq - 0 1",
    "rkrnnqbb/pppppppp/8/8/8/8/PPPPPPPP/RKRNNQBB w KQkq - 0 1",
    "nrbkqbrn/pppppppp/8/8/8/8/PPPPPPPP/NRBKQBRN w GBgb - 0 1",
};

struct Ergebnis {
    uint64_t knoten;
    int64_t ms;
    Zug zug;
};

} // namespace

int benchSearch(int argc, char** argv)
{
    tabellenInitialisieren();
    kbkTabelleBauen();
    int tiefe = 11, threads = 1;
    for (int i = 0; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--depth") && i + 1 < argc) tiefe = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--threads") && i + 1 < argc) threads = std::atoi(argv[++i]);
    }
    if (tiefe < 1) tiefe = 1;
    if (threads < 1) threads = 1;
    if (threads > 24) threads = 24;

    Optionen_t optionen(OPTIONEN_NORMAL);
    optionen.setzen(OPT_HASH, 16);
    optionen.setzen(OPT_OWNBOOK, 0);
    optionen.setzen(OPT_PROZESSOREN, threads);
    uint64_t summe = 0;
    int64_t gesamtMs = 0;
    int nr = 0;
    for (const char* fen : STELLUNGEN) {
        Stellung_t st;
        Stellungsdaten_t d;
        if (!stellungSetzen(st, d, fen)) {
            std::fprintf(stderr, "bad bench position: %s\n", fen);
            return 1;
        }
        Suche_t suche;
        Suchgrenzen_t grenzen;
        GoParameter_t go;
        go.tiefe = tiefe;
        grenzen.fuellen(go, false);
        TestAusgabe_t ausgabe;
        const int64_t start = jetztMs();
        suche.starten(st, optionen, Sucher_t::FLAG_SYNCHRON, grenzen, ausgabe);
        const int64_t ms = jetztMs() - start;
        const uint64_t n = suche.knotenGesamt();
        summe += n;
        gesamtMs += ms;
        char zug[8];
        zugSchreiben(st, ausgabe.besterZug, zug);
        std::printf("%2d %-6s %12" PRIu64 " nodes %7" PRId64 " ms  %s\n", ++nr, zug, n, ms, fen);
        std::fflush(stdout);
    }
    std::printf("Nodes searched: %" PRIu64 "\n", summe);
    std::printf("Total time (ms): %" PRId64 "\n", gesamtMs);
    std::printf("Nodes/second: %" PRIu64 "\n", summe * 1000 / uint64_t(gesamtMs > 0 ? gesamtMs : 1));
    return 0;
}
