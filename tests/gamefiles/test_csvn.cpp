// The position-list tool: results leave in input order whatever order the
// workers finish in, a missing result holds back everything after it, and
// every line of the input is answered (bad ones with "(not found)").
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../test_hilfen.h"
#include "gamefiles/csvn.h"
#include "gamefiles/werkzeugsuche.h"

namespace {

std::vector<std::string> dateiZeilen(const std::string& name)
{
    std::ifstream ein(name);
    std::vector<std::string> z;
    for (std::string s; std::getline(ein, s);) z.push_back(s);
    return z;
}

std::vector<std::string> geschrieben(std::FILE* f)
{
    std::fflush(f);
    std::rewind(f);
    std::vector<std::string> z;
    char puffer[64];
    while (std::fgets(puffer, sizeof puffer, f)) {
        std::string s(puffer);
        s.pop_back();
        z.push_back(s);
    }
    std::fseek(f, 0, SEEK_END);
    return z;
}

std::vector<std::string> zahlen(uint32_t von, uint32_t bis)
{
    std::vector<std::string> z;
    for (uint32_t i = von; i <= bis; ++i) z.push_back(std::to_string(i));
    return z;
}

TEST(CsvnErgebnisse, schreibtInReihenfolgeUndHaeltHinterLuecken)
{
    struct Fall {
        const char* name;
        std::vector<uint32_t> ankunft;       // order in which results arrive
        uint32_t geschriebenVorEnde;          // lines out before alleSchreiben()
        std::size_t wartendVorEnde;
    };
    std::vector<uint32_t> rueckwaerts, luecke, beide;
    for (uint32_t i = 150; i >= 1; --i) rueckwaerts.push_back(i);
    for (uint32_t i = 2; i <= 150; ++i) luecke.push_back(i); // 1 comes last
    luecke.push_back(1);
    for (uint32_t i = 1; i <= 101; ++i) beide.push_back(i);
    const Fall faelle[] = {
        // 101 waiting after result 101: the 60 lowest go out; 41 wait.
        {"vorwaerts", beide, 60, 41},
        // Arriving backwards, nothing can be written before 1 is there; with
        // 1 the map holds 150, so 60 go out.
        {"rueckwaerts", rueckwaerts, 60, 90},
        // One slow line: 149 results wait behind it however many pile up.
        {"luecke", luecke, 60, 90},
    };
    for (const Fall& f : faelle) {
        std::FILE* datei = std::tmpfile();
        ASSERT_TRUE(datei);
        CsvnErgebnisse_t e(datei);
        for (uint32_t n : f.ankunft) {
            e.eintragen(n, std::to_string(n));
            if (n != 1 && f.ankunft.back() == 1) {
                EXPECT_EQ(e.geschrieben(), 0u) << f.name;
            }
        }
        EXPECT_EQ(e.geschrieben(), f.geschriebenVorEnde) << f.name;
        EXPECT_EQ(e.wartend(), f.wartendVorEnde) << f.name;
        EXPECT_EQ(geschrieben(datei), zahlen(1, f.geschriebenVorEnde)) << f.name;
        e.alleSchreiben();
        EXPECT_EQ(geschrieben(datei), zahlen(1, uint32_t(f.ankunft.size()))) << f.name;
        std::fclose(datei);
    }
}

struct CsvnDateien : ::testing::Test {
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("velkaris_csvn_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                 "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    void SetUp() override { std::filesystem::create_directories(dir); }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string pfad(const char* n) const { return (dir / n).string(); }

    static WerkzeugEinstellung_t flach()
    {
        WerkzeugEinstellung_t e;
        e.go = GoParameter_t{};
        e.go.tiefe = 2;
        e.hashMb = 1;
        return e;
    }
};

TEST_F(CsvnDateien, jedeZeileInEingabeReihenfolge)
{
    const char* stellungen[] = {
        "2rr3k/pp3pp1/1nnqbN1p/3pN3/2pP4/2P3Q1/PPB4P/R4RK1 w - - bm Qg6; id \"WAC.001\";",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
        "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1",         // stalemate: no move at all
        "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1",   // mate in one
        "this is no position",
        "8/8/8/8/8/8/8/8 w - -",                   // no kings
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1 and a tail that goes on past the ninety characters kept",
    };
    const char* erwartet[] = {nullptr, nullptr, "(not found)", "d1d8", "(not found)", "(not found)", nullptr};
    std::vector<std::string> texte;
    {
        std::ofstream ein(pfad("in.epd"));
        // 250 answered lines, with an empty and an overlong line between
        // them that are skipped.
        for (int i = 0; i < 250; ++i) {
            ein << stellungen[i % 7] << "  \n";
            std::string t = stellungen[i % 7];
            texte.push_back(t.substr(0, 90));
            if (i == 3) ein << "\n" << std::string(10000, 'x') << "\n";
        }
    }
    ASSERT_EQ(csvnWerkzeug(pfad("in.epd").c_str(), pfad("out.epd").c_str(), flach()), 0);
    const auto zeilen = dateiZeilen(pfad("out.epd"));
    ASSERT_EQ(zeilen.size(), 250u);
    for (std::size_t i = 0; i < zeilen.size(); ++i) {
        const std::string kopf = texte[i] + " bm ";
        ASSERT_EQ(zeilen[i].compare(0, kopf.size(), kopf), 0) << i << ": " << zeilen[i];
        const std::string zug = zeilen[i].substr(kopf.size());
        if (erwartet[i % 7]) EXPECT_EQ(zug, erwartet[i % 7]) << i;
        else EXPECT_NE(zug, "(not found)") << i;
    }
    EXPECT_FALSE(std::filesystem::exists(pfad("out.epd.tmp")));
}

TEST_F(CsvnDateien, dateifehlerGebenExitCode)
{
    { std::ofstream(pfad("in.epd")) << "8/8/8/8/8/8/8/K6k w - - 0 1\n"; }
    EXPECT_EQ(csvnWerkzeug(pfad("fehlt.epd").c_str(), pfad("out.epd").c_str(), flach()), 1);
    EXPECT_EQ(csvnWerkzeug(pfad("in.epd").c_str(), pfad("kein/ordner/out.epd").c_str(), flach()), 1);
    EXPECT_FALSE(std::filesystem::exists(pfad("out.epd")));
}

} // namespace
