#include "../test_hilfen.h"
#include "chess/perft.h"

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
// positions from public perft suites; every count must be exact, and every
// seventh case again through the hash table, which must leave the position
// as it found it.
TEST(Perft, RegressionSuiteIsExactWithAndWithoutTheHashTable)
{
    auto faelle = regressionLaden();
    ASSERT_GT(faelle.size(), 400u);
    PerftTabelle_t tabelle(1);
    EXPECT_EQ(tabelle.eintraege(), 32768u); // 1 MB / 24 bytes, rounded down to a power of two
    int fehler = 0;
    for (size_t i = 0; i < faelle.size() && fehler <= 10; ++i) {
        const Fall& f = faelle[i];
        TestStellung t(f.fen.c_str());
        ASSERT_TRUE(t.ok) << f.fen;
        const std::string vorher = fenText(t.st);
        for (PerftTabelle_t* tab : std::array<PerftTabelle_t*, 2>{nullptr, i % 7 ? nullptr : &tabelle}) {
            const uint64_t n = perft(tab, t.st, t.d, f.tiefe);
            if (n != f.knoten) {
                ADD_FAILURE() << f.fen << " depth " << f.tiefe << ": " << n << " != " << f.knoten;
                ++fehler;
            }
        }
        EXPECT_EQ(fenText(t.st), vorher);
        EXPECT_TRUE(invariantenPruefen(t.st, &t.d));
    }
}
