#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "../test_hilfen.h"
#include "chess/perft.h"
#include "chess/spiel.h"

namespace {
struct Fall {
    std::string fen;
    int tiefe;
    uint64_t knoten;
};

std::vector<Fall> regressionLaden()
{
    std::vector<Fall> faelle;
    std::ifstream in(testDaten("perft_regression.epd"));
    std::string zeile;
    while (std::getline(in, zeile)) {
        if (zeile.empty() || zeile[0] == '#') continue;
        auto semi = zeile.find(';');
        Fall f;
        f.fen = zeile.substr(0, semi);
        unsigned long long n = 0;
        if (std::sscanf(zeile.c_str() + semi + 1, "D%d %llu", &f.tiefe, &n) == 2) {
            f.knoten = n;
            faelle.push_back(f);
        }
    }
    return faelle;
}
} // namespace

// Standard, Chess960, en passant, castling, promotion and double-check
// positions from public perft suites; every count must be exact.
TEST(Perft, RegressionSuiteIsExact)
{
    auto faelle = regressionLaden();
    ASSERT_GT(faelle.size(), 400u);
    int fehler = 0;
    for (const Fall& f : faelle) {
        TestStellung t(f.fen.c_str());
        ASSERT_TRUE(t.ok) << f.fen;
        uint64_t n = perft(nullptr, t.st, t.d, f.tiefe);
        if (n != f.knoten) {
            ADD_FAILURE() << f.fen << " depth " << f.tiefe << ": " << n << " != " << f.knoten;
            if (++fehler > 10) break;
        }
    }
}

TEST(Perft, HashTableGivesTheSameCountsAndLeavesThePositionIntact)
{
    auto faelle = regressionLaden();
    PerftTabelle_t tabelle(1);
    EXPECT_EQ(tabelle.eintraege(), 32768u); // 1 MB / 24 bytes, rounded down to a power of two
    for (size_t i = 0; i < faelle.size(); i += 7) {
        TestStellung t(faelle[i].fen.c_str());
        std::string vorher = fenText(t.st);
        EXPECT_EQ(perft(&tabelle, t.st, t.d, faelle[i].tiefe), faelle[i].knoten) << faelle[i].fen;
        EXPECT_EQ(fenText(t.st), vorher);
        EXPECT_TRUE(invariantenPruefen(t.st, &t.d));
    }
}

TEST(Perft, StartPositionShallowDepthsAndDepthZero)
{
    TestStellung t;
    const uint64_t erwartet[] = {0, 20, 400, 8902, 197281};
    for (int tiefe = 0; tiefe <= 4; ++tiefe) EXPECT_EQ(perft(nullptr, t.st, t.d, tiefe), erwartet[tiefe]);
    EXPECT_EQ(perft(nullptr, t.st, t.d, -3), 0u);
}
