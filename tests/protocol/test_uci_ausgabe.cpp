#include "../test_hilfen.h"

#include "protocol/uci_ausgabe.h"

namespace {
std::vector<std::string> zeilenVon(std::FILE* f) { return zeilenAus(dateiInhalt(f)); }

std::string wert(int w, int a = -500000, int b = 500000)
{
    char zeile[128] = "";
    wertAnhaengen(zeile, sizeof zeile, w, a, b);
    return zeile;
}

class UciKanal : public ::testing::Test {
protected:
    void SetUp() override
    {
        stellungSetzen(st, d, nullptr);
        f = std::tmpfile();
    }
    void TearDown() override { std::fclose(f); }

    // Lines printed after the "uci" answer.
    std::vector<std::string> neueZeilen()
    {
        auto z = zeilenVon(f);
        return std::vector<std::string>(z.begin() + long(anfang), z.end());
    }

    Stellung_t st;
    Stellungsdaten_t d;
    std::FILE* f = nullptr;
    std::size_t anfang = 0;
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
    UciAusgabe_t aus(OPTIONEN_NORMAL, f);
    auto z = zeilenVon(f);
    // (The exact answer to "uci": the scripted UCI session.)
    ASSERT_EQ(z.size(), 17u);
    anfang = z.size();

    const Zug e2e4 = zugBauen(E2, E4, BAUER);
    const Zug e7e5 = zugBauen(E7, E5, BAUER);
    const Zug g1f3 = zugBauen(G1, F3, SPRINGER);
    const Zug pv[3] = {e2e4, e7e5, g1f3};

    aus.Fortschritt(4, 3, 0, 1234, 7);
    aus.Fortschritt(4, 9, 2000, 1000000, 17);
    aus.AktuellerZug(st, g1f3, 3, 12);
    aus.Hauptvariante(st, pv, 3, 300, -500000, 500000, 5, 2, 0, 1000, 3, false);
    aus.Hauptvariante(st, pv, 3, 300, -500000, 500000, 5, 2, 0, 1000, 3, true);
    aus.Hauptvariante(st, pv, 0, -499998, -499998, 500000, 0, 0, 999, 1000, 0, false);
    aus.MultiPv(st, pv, 2, 2, 499999, 6);
    aus.BesterZug(st, e2e4, 0);
    aus.BesterZug(st, e2e4, e7e5);
    aus.BesterZug(st, 0, 0);

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
    EXPECT_EQ(neueZeilen(), erwartet);

    // Silenced: nothing more, not even the best move.
    aus.stummSchalten();
    aus.BesterZug(st, e2e4, e7e5);
    aus.Fortschritt(1, 1, 1, 1, 1);
    aus.Hauptvariante(st, pv, 3, 300, -500000, 500000, 5, 2, 0, 1000, 3, false);
    aus.Zeile("readyok");
    EXPECT_EQ(neueZeilen().size(), erwartet.size());
}

TEST_F(UciKanal, VariationIsCutBelowThousandCharacters)
{
    UciAusgabe_t aus(OPTIONEN_LEER, f);
    anfang = zeilenVon(f).size();
    ASSERT_EQ(anfang, 3u); // no option lines for an empty table

    // Knights hopping back and forth: 5 characters per move.
    std::vector<Zug> pv;
    for (int i = 0; i < 400; ++i) pv.push_back(i % 2 ? zugBauen(F3, G1, SPRINGER) : zugBauen(G1, F3, SPRINGER));
    aus.Hauptvariante(st, pv.data(), int(pv.size()), 5, -500000, 500000, 0, 0, 5, 5, 0, false);
    aus.MultiPv(st, pv.data(), int(pv.size()), 1, 5, 0);
    auto z = neueZeilen();
    ASSERT_EQ(z.size(), 2u);
    for (const std::string& s : z) EXPECT_EQ(s.find("  "), std::string::npos);
    // The line is measured before its blanks are collapsed, with the two
    // 16-character fields: the text up to " pv" takes 101 characters, which
    // leaves room for 179 moves (101 + 179 * 5 = 996; one more reaches 1001).
    const std::string& h = z[0];
    std::size_t pvStart = h.find(" pv ");
    ASSERT_NE(pvStart, std::string::npos);
    std::size_t zuege = (h.size() - pvStart - 3) / 5;
    EXPECT_EQ(zuege, 179u);
    // MultiPv: "info multipv 1 depth 1 score cp 1 pv " (37 characters), then
    // 192 moves reach 997 characters; the 193rd would reach 1002.
    const std::string& m = z[1];
    std::size_t mStart = m.find(" pv ");
    EXPECT_EQ((m.size() - mStart - 3) / 5, 192u);
}

TEST_F(UciKanal, TimingChannelPrintsOneLinePerSearch)
{
    Suchgrenzen_t grenzen;
    UciTestausgabe_t aus(grenzen, f);
    const Zug pv[1] = {zugBauen(E2, E4, BAUER)};
    aus.Fortschritt(1, 1, 1, 1, 1);
    aus.Hauptvariante(st, pv, 1, 300, -500000, 500000, 5, 2, 0, 1000, 3, false);
    aus.AktuellerZug(st, pv[0], 1, 0);
    aus.MultiPv(st, pv, 1, 1, 3, 1);
    EXPECT_TRUE(zeilenVon(f).empty());

    aus.zeitMelden(2.0);
    aus.zeitMelden(0.5);
    aus.zeitMelden(0.0); // counted as 0.01 s
    // Geometric mean of 2, 0.5 and 0.01: 0.01^(1/3) = 0.215.
    EXPECT_EQ(zeilenVon(f), (std::vector<std::string>{"  1        2.000        2.000        2.000",
                                                      "  2        0.500        2.500        1.000",
                                                      "  3        0.010        2.510        0.215"}));

    grenzen.start = jetztMs();
    aus.BesterZug(st, pv[0], 0);
    auto z = zeilenVon(f);
    ASSERT_EQ(z.size(), 4u);
    EXPECT_EQ(z[3].substr(0, 3), "  4");
}
