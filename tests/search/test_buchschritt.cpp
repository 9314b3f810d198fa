// The search controller's book step, driven through the UCI interpreter:
// a known position is answered from the book without a search, unless the
// book is off, the search is an analysis or the root moves are restricted;
// a ponder search holds the book move until "ponderhit".
#include <gtest/gtest.h>

#include <memory>

#include "../book/buch_hilfen.h"
#include "platform/clock.h"
#include "protocol/optionen.h"
#include "protocol/suchgrenzen.h"
#include "protocol/uci.h"
#include "protocol/uci_ausgabe.h"
#include "search/suche.h"
#include "shell/beenden.h"

namespace {
struct Buchschritt : ::testing::Test {
    void SetUp() override
    {
        programmBeenden.store(false);
        kopf = std::tmpfile();
        aus = std::make_unique<Mitschrift<UciAusgabe_t>>(OPTIONEN_NORMAL, kopf);
        uci = std::make_unique<UciInterface_t>(sucher, OPTIONEN_NORMAL, grenzen, *aus);
        sagen("setoption name BookFile value " + buch.name);
    }
    void TearDown() override
    {
        uci.reset();
        aus.reset();
        std::fclose(kopf);
        programmBeenden.store(false);
    }
    void sagen(const std::string& zeile)
    {
        uci->Zeile(zeile.c_str());
        sucher.warteBisUntaetig();
    }
    // The best-move line, or "searched" when a search printed before it
    // (a search of depth 3 or more reports its line at least once).
    std::string antwort(const std::string& position, const std::string& go)
    {
        sagen("position " + position);
        sagen(go);
        std::string r;
        for (const std::string& z : aus->neue()) {
            if (z.rfind("info depth", 0) == 0) return "searched";
            if (z.rfind("bestmove", 0) == 0) r = z;
        }
        return r;
    }

    TempDatei buch{"e4 1 e5 1 Nf3 1 * * * *"};
    std::FILE* kopf = nullptr;
    Suchgrenzen_t grenzen;
    Suche_t sucher;
    std::unique_ptr<Mitschrift<UciAusgabe_t>> aus;
    std::unique_ptr<UciInterface_t> uci;
};
} // namespace

TEST_F(Buchschritt, BookMovesWithoutSearch)
{
    EXPECT_EQ(antwort("startpos", "go depth 3"), "bestmove e2e4 ponder e7e5");
    EXPECT_EQ(antwort("startpos moves e2e4", "go wtime 1000 btime 1000"), "bestmove e7e5 ponder g1f3");
    EXPECT_EQ(antwort("startpos moves e2e4 e7e5", "go movetime 50"), "bestmove g1f3");
    // Out of the book, with the root moves restricted (the book knows
    // nothing of the restriction), with the book off or missing: a search.
    EXPECT_EQ(antwort("startpos moves d2d4", "go depth 3"), "searched");
    EXPECT_EQ(antwort("startpos", "go depth 3 searchmoves d2d4"), "searched");
    sagen("setoption name OwnBook value false");
    EXPECT_EQ(antwort("startpos", "go depth 3"), "searched");
    sagen("setoption name OwnBook value true");
    sagen("setoption name BookFile value " + buch.name + ".missing");
    EXPECT_EQ(antwort("startpos", "go depth 3"), "searched");
}

TEST_F(Buchschritt, PonderSearchWaitsForPonderhit)
{
    sagen("position startpos");
    uci->Zeile("go ponder wtime 1000 btime 1000");
    schlafeMs(100);
    EXPECT_TRUE(aus->neue().empty());
    uci->Zeile("ponderhit");
    sucher.warteBisUntaetig();
    EXPECT_EQ(aus->neue(), std::vector<std::string>{"bestmove e2e4 ponder e7e5"});
}
