#include <regex>

#include "../test_hilfen.h"
#include "kanal_datei.h"
#include "protocol/xboard_ausgabe.h"

namespace {
struct XBoardKanal : ::testing::Test {
    void SetUp() override
    {
        grenzen.start = jetztMs();
        aus.optionenSetzen(&optionen);
    }
    // The lines printed, with the time of thinking and status lines as T
    // (it depends on the machine's speed).
    std::vector<std::string> zeilen()
    {
        static const std::regex zeit("^(stat01: +|-?[0-9]+ -?[0-9]+ +)[0-9]+");
        std::vector<std::string> r = datei.neue();
        for (std::string& z : r) z = std::regex_replace(z, zeit, "$1T");
        return r;
    }

    // The thinking line for a variation from the start position.
    void denken(int wert, bool still = false)
    {
        TestStellung t;
        const Zug pv[] = {zugBauen(E2, E4, BAUER), zugBauen(E7, E5, BAUER)};
        aus.Hauptvariante(t.st, pv, 2, wert, -500000, 500000, 5, 9, 0, 4567, 0, still);
    }

    KanalDatei datei;
    Suchgrenzen_t grenzen;
    Optionen_t optionen{OPTIONEN_NORMAL};
    XBoardAusgabe_t aus{grenzen, datei.f};
};
} // namespace

TEST(XBoardText, ScoresInCentipawnsAndMateDistances)
{
    const std::pair<int, int> faelle[] = {
        {499990, 32757}, {499999, 32766}, {-499990, -32757}, {-499998, -32765}, // mates, either side
        {1000, 100}, {15, 2}, {12, 2}, {2, 1}, {1, 0}, {0, 0}, {-1, 0}, {-2, -1}, {-12, -2}, {-1000, -100},
        {450000, 45000}, {-450000, -45000},
    };
    for (auto [wert, erwartet] : faelle) EXPECT_EQ(xboardWert(wert), erwartet) << wert;
}

TEST_F(XBoardKanal, ThinkingLinesErrorsAndSilence)
{
    denken(1234);
    aus.ponderTextSetzen("g1f3");
    denken(-499990);
    aus.ponderTextSetzen("");
    // Without post nothing is printed and the score is not taken either.
    aus.postSetzen(false);
    denken(77);
    EXPECT_EQ(aus.letzterWert(), -499990);
    aus.postSetzen(true);
    // A suppressed line only records its score.
    denken(-5, true);
    EXPECT_EQ(aus.letzterWert(), -5);
    aus.Fehler("bad parameters", "level 40 5");
    aus.Fehler("position: Illegal FEN string: ", nullptr);
    // NoOutput silences everything but a move already decided on.
    optionen.setoption("setoption name NoOutput value true");
    EXPECT_TRUE(aus.IstStumm());
    denken(3);
    aus.Fehler("x", "y");
    aus.zeileImmer("move e2e4");
    optionen.setoption("setoption name NoOutput value false");
    aus.stummSchalten();
    EXPECT_TRUE(aus.IstStumm());
    aus.zeileImmer("move e7e5");

    EXPECT_EQ(zeilen(), (std::vector<std::string>{
                                "5 124 T 4567 e2e4 e7e5",
                                "5 -32757 T 4567 (g1f3) e2e4 e7e5",
                                "Error (bad parameters): level 40 5",
                                "Error (position: Illegal FEN string: ): internal error",
                                "move e2e4",
                            }));
}

TEST_F(XBoardKanal, AnalysisKeepsTheHintAndShowsItsStatus)
{
    aus.analyseBeginnt(20);
    char hinweis[8];
    EXPECT_FALSE(aus.hinweis(hinweis, sizeof hinweis));
    TestStellung t;
    aus.AktuellerZug(t.st, zugBauen(G1, F3, SPRINGER), 3, 0);
    denken(0);
    EXPECT_TRUE(aus.hinweis(hinweis, sizeof hinweis));
    EXPECT_EQ(std::string(hinweis), "e2e4");
    EXPECT_EQ(zeilen().size(), 1u);
    aus.analyseStatus();
    // Time, the latest nodes and depth, 18 of 20 moves left.
    EXPECT_EQ(zeilen(),
              std::vector<std::string>{"stat01:            T             4567      5  18  20 g1f3"});
}
