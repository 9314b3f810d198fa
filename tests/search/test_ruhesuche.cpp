// The quiescence search gives the same verdict in a narrow window as in the
// full one: searched just above its own value it fails low, just below it
// fails high. Its capture selection weighs the material a capture wins; if
// that weight disagrees with the evaluation's, a recapture is skipped in
// narrow windows and an ordinary exchange looks like winning a piece.

#include "../test_hilfen.h"
#include "search/suche.h"

namespace {

TEST(Ruhesuche, NarrowWindowsAgreeWithTheFullWindowAfterExchanges)
{
    const char* stellungen[] = {
        // 1.e4 e5 2.Nf3 Nc6 3.Bb5 a6: Bxc6 dxc6 is an even trade.
        "r1bqkbnr/1ppp1ppp/p1n5/1B2p3/4P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 0 4",
        // Two knights after 5.exd5: Black takes back on d5 or moves away.
        "r1bqkb1r/ppp2ppp/2n2n2/3Pp1N1/2B5/8/PPPP1PPP/RNBQK2R b KQkq - 0 5",
        // Open Sicilian after 4.Nxd4.
        "rnbqkbnr/pp2pppp/3p4/8/3NP3/8/PPP2PPP/RNBQKB1R b KQkq - 0 4",
        // Queen's gambit declined after Bxf6: Bxf6 or gxf6.
        "rnbqk2r/ppp1bppp/4pB2/3p4/2PP4/2N5/PP2PPPP/R2QKBNR b KQkq - 0 5",
        // Knights trade in the centre.
        "r1bqkb1r/pppp1ppp/2n5/4n3/3PP3/8/PPP2PPP/RNBQKBNR w KQkq - 0 4",
        // A middlegame with captures on d5 for both sides.
        "r2q1rk1/pp2bppp/2n1bn2/3p4/3P4/2NBBN2/PP3PPP/R2Q1RK1 w - - 0 11",
    };
    auto suche = std::make_unique<Suche_t>();
    for (const char* fen : stellungen) {
        TestStellung t(fen);
        ASSERT_TRUE(t.ok) << fen;
        const int v = suche->ruhewert(t.st, -MATT_WERT - 1, MATT_WERT + 1);
        EXPECT_LE(suche->ruhewert(t.st, v, v + 1), v) << fen;
        EXPECT_GE(suche->ruhewert(t.st, v - 1, v), v) << fen;
    }
}

} // namespace
