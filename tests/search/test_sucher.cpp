#include "../test_hilfen.h"

#include "probe_sucher.h"
#include "shell/testausgabe.h"

namespace {
class SucherThread : public ::testing::Test {
protected:
    TestStellung start;
    const Stellung_t& st = start.st;
    Optionen_t optionen{OPTIONEN_NORMAL};
    Suchgrenzen_t grenzen;
    TestAusgabe_t aus;
};
} // namespace

TEST_F(SucherThread, SearchRunsOnTheSearchersThread)
{
    ProbeSucher s;
    s.starten(st, optionen, Sucher_t::FLAG_ANALYSE, grenzen, aus);
    s.warteBisUntaetig();
    EXPECT_EQ(s.suchen.load(), 1);
    EXPECT_NE(s.faden, std::this_thread::get_id());
    // Without root moves: every legal move of the start position; the flags
    // given (moves, analysis, debug).
    EXPECT_EQ(std::tuple(s.zuege.size(), s.gegeben, s.warAnalyse, s.warDebug), std::tuple(20u, false, true, false));
    EXPECT_TRUE(istZug(aus.besterZug));

    // Starting again waits for the previous search by itself.
    for (int i = 0; i < 20; ++i) s.starten(st, optionen, 0, grenzen, aus);
    s.warteBisUntaetig();
    EXPECT_EQ(s.suchen.load(), 21);

    // A synchronous search runs in the caller, on the root moves given.
    const Zug wurzel[2] = {zugBauen(D2, D4, BAUER), zugBauen(E2, E4, BAUER)};
    s.starten(st, optionen, Sucher_t::FLAG_SYNCHRON | Sucher_t::FLAG_DEBUG, grenzen, aus, wurzel, wurzel + 2);
    EXPECT_EQ(s.suchen.load(), 22);
    EXPECT_EQ(s.faden, std::this_thread::get_id());
    ASSERT_EQ(std::tuple(s.zuege.size(), s.gegeben, s.warDebug), std::tuple(2u, true, true));
    EXPECT_EQ(aus.besterZug, wurzel[0]);
}

// Ponderhit ends pondering but not a search held open; stop ends it, and so
// does destroying the searcher (which must neither hang nor call into a
// destroyed object).
TEST_F(SucherThread, StopAndDestructionEndARunningSearch)
{
    ProbeSucher s(true);
    s.starten(st, optionen, Sucher_t::FLAG_PONDER, grenzen, aus);
    while (!s.laeuft.load()) schlafeMs(1);
    EXPECT_TRUE(s.warPonder);
    s.ponderHit();
    EXPECT_FALSE(s.ponderAktiv());
    EXPECT_EQ(s.suchen.load(), 0);
    s.stoppen();
    EXPECT_EQ(s.suchen.load(), 1);

    auto* t = new ProbeSucher(true);
    t->starten(st, optionen, 0, grenzen, aus);
    while (!t->laeuft.load()) schlafeMs(1);
    delete t;
}
