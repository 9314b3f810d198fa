#include "../test_hilfen.h"
#include "kanal_datei.h"
#include "protocol/uci_ausgabe.h"

namespace {
std::string wert(int w, int a = -500000, int b = 500000)
{
    char zeile[128] = "";
    wertAnhaengen(zeile, sizeof zeile, w, a, b);
    return zeile;
}

struct UciKanal : ::testing::Test {
    TestStellung t;
    KanalDatei datei;
};
} // namespace

TEST(UciText, ScoresBlanksAndNodesPerSecond)
{
    const std::pair<int, const char*> ohneFenster[] = {
        {1, " score cp 0"},           {0, " score cp 0"},          {-1, " score cp 0"},
        {2, " score cp 1"},           {-2, " score cp -1"},        {15, " score cp 2"},
        {10, " score cp 1"},          {-11, " score cp -2"},       {450000, " score cp 45000"},
        {499999, " score mate 1"},    {499997, " score mate 2"},   {-499998, " score mate -1"},
        {-499996, " score mate -2"}};
    for (auto [w, text] : ohneFenster) EXPECT_EQ(wert(w), text) << w;
    // Bounds: the score on or beyond the window's edge.
    const std::pair<int, const char*> imFenster[] = {{300, " score cp 30 lowerbound"}, {400, " score cp 40 lowerbound"},
                                                     {100, " score cp 10 upperbound"}, {200, " score cp 20"}};
    for (auto [w, text] : imFenster) EXPECT_EQ(wert(w, 100, 300), text) << w;

    for (auto [ein, aus] : {std::pair{"info depth 1 time                1 nodes   20", "info depth 1 time 1 nodes 20"},
                            {"  a  b  ", " a b "}, {"a\t\tb", "a\t\tb"}}) {
        std::string text = ein;
        blanksZusammenfassen(text.data());
        EXPECT_STREQ(text.c_str(), aus) << ein;
    }

    const struct {
        int64_t knoten, ms, nps;
    } faelle[] = {{1234, 1, 1234000}, {1234, 0, 1234000}, {1000, 3, 333333}, {INT64_MAX, 1000, INT64_MAX},
                  {INT64_MAX, 1, INT64_MAX}, {0, 5, 0}};
    for (const auto& f : faelle) EXPECT_EQ(knotenProSekunde(f.knoten, f.ms), f.nps) << f.knoten << " / " << f.ms;
}

TEST_F(UciKanal, AnswerToUciAndInfoLines)
{
    UciAusgabe_t aus(OPTIONEN_NORMAL, datei.f);
    // (The exact answer to "uci": the scripted UCI session.)
    ASSERT_EQ(datei.neue().size(), 17u);

    const Zug pv[3] = {zugBauen(E2, E4, BAUER), zugBauen(E7, E5, BAUER), zugBauen(G1, F3, SPRINGER)};
    const Zug e2e4 = pv[0], e7e5 = pv[1], g1f3 = pv[2];

    aus.Fortschritt(4, 3, 0, 1234, 7);
    aus.Fortschritt(4, 9, 2000, 1000000, 17);
    aus.AktuellerZug(t.st, g1f3, 3, 12);
    aus.Hauptvariante(t.st, pv, 3, 300, -500000, 500000, 5, 2, 0, 1000, 3, false);
    aus.Hauptvariante(t.st, pv, 3, 300, -500000, 500000, 5, 2, 0, 1000, 3, true);
    aus.Hauptvariante(t.st, pv, 0, -499998, -499998, 500000, 0, 0, 999, 1000, 0, false);
    aus.MultiPv(t.st, pv, 2, 2, 499999, 6);
    aus.BesterZug(t.st, e2e4, 0);
    aus.BesterZug(t.st, e2e4, e7e5);
    aus.BesterZug(t.st, 0, 0);

    const std::vector<std::string> erwartet = {
        "info depth 5 seldepth 5 time 1 nodes 1234 nps 1234000 hashfull 7",
        "info depth 5 seldepth 9 time 2000 nodes 1000000 nps 500000 hashfull 17",
        "info currmove g1f3 currmovenumber 3 hashfull 12",
        "info depth 6 seldepth 6 score cp 30 time 1 nodes 1000 nps 500000 hashfull 3 pv e2e4 e7e5 g1f3",
        "info depth 1 seldepth 1 score mate -1 upperbound time 999 nodes 1000 nps 1000 hashfull 0 pv",
        "info multipv 2 depth 7 score mate 1 pv e2e4 e7e5",
        "bestmove e2e4",
        "bestmove e2e4 ponder e7e5",
        "bestmove 0000",
    };
    EXPECT_EQ(datei.neue(), erwartet);

    // Silenced: nothing more, not even the best move.
    aus.stummSchalten();
    aus.BesterZug(t.st, e2e4, e7e5);
    aus.Fortschritt(1, 1, 1, 1, 1);
    aus.Hauptvariante(t.st, pv, 3, 300, -500000, 500000, 5, 2, 0, 1000, 3, false);
    aus.Zeile("readyok");
    EXPECT_EQ(datei.neue(), std::vector<std::string>{});
}

TEST_F(UciKanal, VariationIsCutBelowThousandCharacters)
{
    UciAusgabe_t aus(OPTIONEN_LEER, datei.f);
    ASSERT_EQ(datei.neue().size(), 3u); // no option lines for an empty table

    // Knights hopping back and forth: 5 characters per move.
    std::vector<Zug> pv;
    for (int i = 0; i < 400; ++i) pv.push_back(i % 2 ? zugBauen(F3, G1, SPRINGER) : zugBauen(G1, F3, SPRINGER));
    aus.Hauptvariante(t.st, pv.data(), int(pv.size()), 5, -500000, 500000, 0, 0, 5, 5, 0, false);
    aus.MultiPv(t.st, pv.data(), int(pv.size()), 1, 5, 0);
    const auto z = datei.neue();
    ASSERT_EQ(z.size(), 2u);
    // The line is measured before its blanks are collapsed, with the two
    // 16-character fields: the text up to " pv" takes 101 characters, which
    // leaves room for 179 moves (101 + 179 * 5 = 996; one more reaches 1001).
    // MultiPv: "info multipv 1 depth 1 score cp 1 pv " (37 characters), then
    // 192 moves reach 997 characters; the 193rd would reach 1002.
    const std::size_t zuege[] = {179, 192};
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(z[i].find("  "), std::string::npos) << z[i].substr(0, 20);
        const std::size_t pvStart = z[i].find(" pv ");
        ASSERT_NE(pvStart, std::string::npos) << z[i].substr(0, 20);
        EXPECT_EQ((z[i].size() - pvStart - 3) / 5, zuege[i]) << z[i].substr(0, 20);
    }
}

TEST_F(UciKanal, TimingChannelPrintsOneLinePerSearch)
{
    Suchgrenzen_t grenzen;
    UciTestausgabe_t aus(grenzen, datei.f);
    const Zug pv[1] = {zugBauen(E2, E4, BAUER)};
    aus.Fortschritt(1, 1, 1, 1, 1);
    aus.Hauptvariante(t.st, pv, 1, 300, -500000, 500000, 5, 2, 0, 1000, 3, false);
    aus.AktuellerZug(t.st, pv[0], 1, 0);
    aus.MultiPv(t.st, pv, 1, 1, 3, 1);
    EXPECT_TRUE(datei.neue().empty());

    aus.zeitMelden(2.0);
    aus.zeitMelden(0.5);
    aus.zeitMelden(0.0); // counted as 0.01 s
    // Geometric mean of 2, 0.5 and 0.01: 0.01^(1/3) = 0.215.
    EXPECT_EQ(datei.neue(), (std::vector<std::string>{"  1        2.000        2.000        2.000",
                                                      "  2        0.500        2.500        1.000",
                                                      "  3        0.010        2.510        0.215"}));

    grenzen.start = jetztMs();
    aus.BesterZug(t.st, pv[0], 0);
    const auto z = datei.neue();
    ASSERT_EQ(z.size(), 1u);
    EXPECT_EQ(z[0].substr(0, 3), "  4");
}
