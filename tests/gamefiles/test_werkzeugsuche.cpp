// A batch tool's searcher gives a position the same move and score whatever
// the worker searched before (the self-play games and the training labels
// of the tuner depend on it).

#include <gtest/gtest.h>

#include "chess/fen.h"
#include "gamefiles/werkzeugsuche.h"

namespace {

const char* const STELLUNGEN[] = {
    "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "2r3k1/pp3ppp/4p3/3pP3/3P4/P4N2/1P3PPP/2R3K1 b - - 0 25",
    "8/5pk1/6p1/3R4/1r5P/6P1/5PK1/8 w - - 0 40",
};

Suchergebnis_t suchen(Werkzeugsuche_t& s, const char* fen)
{
    Stellung_t st;
    Stellungsdaten_t d;
    EXPECT_TRUE(stellungSetzen(st, d, fen)) << fen;
    GoParameter_t go;
    go.knoten = 20000;
    return s.suchen(st, go);
}

TEST(Werkzeugsuche, ergebnisUnabhaengigVonFrueherenSuchen)
{
    std::vector<Suchergebnis_t> frisch;
    for (const char* fen : STELLUNGEN) {
        Werkzeugsuche_t s(2);
        frisch.push_back(suchen(s, fen));
    }
    // One worker, forwards and then backwards, every position twice.
    Werkzeugsuche_t s(2);
    const int n = int(std::size(STELLUNGEN));
    for (int k = 0; k < 2 * n; ++k) {
        const int i = k < n ? k : 2 * n - 1 - k;
        const Suchergebnis_t r = suchen(s, STELLUNGEN[i]);
        EXPECT_EQ(r.zug, frisch[i].zug) << STELLUNGEN[i] << " (search " << k << ")";
        EXPECT_EQ(r.wert, frisch[i].wert) << STELLUNGEN[i] << " (search " << k << ")";
    }
}

} // namespace
