// A batch tool's searcher gives a position the same move and score whatever
// the worker searched before (the self-play games and the training labels
// of the tuner depend on it).

#include "../test_hilfen.h"
#include "gamefiles/werkzeugsuche.h"

namespace {

const char* const STELLUNGEN[] = {
    "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "2r3k1/pp3ppp/4p3/3pP3/3P4/P4N2/1P3PPP/2R3K1 b - - 0 25",
    "8/5pk1/6p1/3R4/1r5P/6P1/5PK1/8 w - - 0 40",
};

// Move and score of a search of 20,000 nodes.
std::pair<Zug, int32_t> suchen(Werkzeugsuche_t& s, const char* fen)
{
    const TestStellung t(fen);
    EXPECT_TRUE(t.ok) << fen;
    const Suchergebnis_t r = s.suchen(t.st, GoParameter_t{.knoten = 20000});
    return {r.zug, r.wert};
}

TEST(Werkzeugsuche, ergebnisUnabhaengigVonFrueherenSuchen)
{
    std::vector<std::pair<Zug, int32_t>> frisch;
    for (const char* fen : STELLUNGEN) {
        Werkzeugsuche_t s(2);
        frisch.push_back(suchen(s, fen));
    }
    // One worker, forwards and then backwards, every position twice.
    Werkzeugsuche_t s(2);
    const int n = int(std::size(STELLUNGEN));
    for (int k = 0; k < 2 * n; ++k) {
        const int i = k < n ? k : 2 * n - 1 - k;
        EXPECT_EQ(suchen(s, STELLUNGEN[i]), frisch[i]) << STELLUNGEN[i] << " (search " << k << ")";
    }
}

} // namespace
