// The position-list tool: results leave in input order whatever order the
// workers finish in, a missing result holds back everything after it, and
// every line of the input is answered (bad ones with "(not found)").

#include "../test_hilfen.h"
#include "gamefiles/csvn.h"
#include "gamefiles/werkzeugsuche.h"

namespace {

std::vector<std::string> geschrieben(std::FILE* f)
{
    std::fflush(f);
    const std::string s = dateiInhalt(f);
    std::fseek(f, 0, SEEK_END);
    return zeilenAus(s);
}

std::vector<std::string> zahlen(uint32_t von, uint32_t bis)
{
    std::vector<std::string> z;
    for (uint32_t i = von; i <= bis; ++i) z.push_back(std::to_string(i));
    return z;
}

// Results arriving in order, backwards, or with the first one last: they
// leave in input order, nothing before result 1 is there, never more than
// 100 wait without a gap: the 60 lowest go out when a 101st waits (in every
// case 60 out and 90 waiting after 150), and the rest leaves at the end.
TEST(CsvnErgebnisse, schreibtInReihenfolgeUndHaeltHinterLuecken)
{
    std::vector<uint32_t> vorwaerts, rueckwaerts, luecke;
    for (uint32_t i = 1; i <= 150; ++i) vorwaerts.push_back(i), rueckwaerts.push_back(151 - i), luecke.push_back(i % 150 + 1);
    for (const auto& ankunft : {vorwaerts, rueckwaerts, luecke}) {
        std::FILE* datei = std::tmpfile();
        ASSERT_TRUE(datei);
        CsvnErgebnisse_t e(datei);
        for (uint32_t n : ankunft) {
            EXPECT_TRUE(n != 1 || e.geschrieben() == 0) << ankunft[0];
            e.eintragen(n, std::to_string(n));
            ASSERT_TRUE(ankunft[0] != 1 || e.wartend() <= 100) << e.wartend(); // without a gap
        }
        EXPECT_EQ(e.geschrieben(), 60u) << ankunft[0];
        EXPECT_EQ(e.wartend(), 90u) << ankunft[0];
        EXPECT_EQ(geschrieben(datei), zahlen(1, e.geschrieben())) << ankunft[0];
        e.alleSchreiben();
        EXPECT_EQ(geschrieben(datei), zahlen(1, 150)) << ankunft[0];
        std::fclose(datei);
    }
}

struct CsvnDateien : ::testing::Test {
    TestVerzeichnis v;
    std::string pfad(const char* n) const { return v.datei(n); }

    const WerkzeugEinstellung_t flach{.go = {.tiefe = 2}, .hashMb = 1};
};

TEST_F(CsvnDateien, jedeZeileInEingabeReihenfolgeUndDateifehler)
{
    const std::string stellungen[] = {
        "2rr3k/pp3pp1/1nnqbN1p/3pN3/2pP4/2P3Q1/PPB4P/R4RK1 w - - bm Qg6; id \"WAC.001\";",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
        "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1",         // stalemate: no move at all
        "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1",   // mate in one
        "this is no position",
        "8/8/8/8/8/8/8/8 w - -",                   // no kings
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1 and a tail that goes on past the ninety characters kept",
        // A NUL byte ends the text, as on the console.
        std::string("6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1\0 tail", 43),
    };
    const char* erwartet[] = {nullptr, nullptr, "(not found)", "d1d8", "(not found)", "(not found)", nullptr, "d1d8"};
    std::vector<std::string> texte;
    {
        std::ofstream ein(pfad("in.epd"));
        // 250 answered lines, with an empty and an overlong line between
        // them that are skipped.
        for (int i = 0; i < 250; ++i) {
            ein << stellungen[i % 8] << "  \n";
            std::string t = stellungen[i % 8];
            texte.push_back(t.substr(0, std::min<std::size_t>(90, t.find('\0'))));
            if (i == 3) ein << "\n" << std::string(10000, 'x') << "\n";
        }
    }
    ASSERT_EQ(csvnWerkzeug(pfad("in.epd").c_str(), pfad("out.epd").c_str(), flach), 0);
    const auto zeilen = zeilenAus(dateiText(pfad("out.epd")));
    ASSERT_EQ(zeilen.size(), 250u);
    for (std::size_t i = 0; i < zeilen.size(); ++i) {
        const std::string kopf = texte[i] + " bm ";
        ASSERT_EQ(zeilen[i].compare(0, kopf.size(), kopf), 0) << i << ": " << zeilen[i];
        const std::string zug = zeilen[i].substr(kopf.size());
        if (erwartet[i % 8]) EXPECT_EQ(zug, erwartet[i % 8]) << i;
        else EXPECT_NE(zug, "(not found)") << i;
    }
    EXPECT_FALSE(std::filesystem::exists(pfad("out.epd.tmp")));

    // A missing input or an output that cannot be made: exit code 1, no file.
    EXPECT_EQ(csvnWerkzeug(pfad("fehlt.epd").c_str(), pfad("out2.epd").c_str(), flach), 1);
    EXPECT_EQ(csvnWerkzeug(pfad("in.epd").c_str(), pfad("kein/ordner/out.epd").c_str(), flach), 1);
    EXPECT_FALSE(std::filesystem::exists(pfad("out2.epd")));
}

} // namespace
