#include "../test_hilfen.h"
#include "chess/perft.h"

// Standard, Chess960, en passant, castling, promotion and double-check
// positions from public perft suites (lines "FEN ;Dn count"); every count
// must be exact, and every seventh case again through the hash table, which
// must leave the position as it found it.
TEST(Perft, RegressionSuiteIsExactWithAndWithoutTheHashTable)
{
    PerftTabelle_t tabelle(1);
    EXPECT_EQ(tabelle.eintraege(), 32768u); // 1 MB / 24 bytes, rounded down to a power of two
    std::ifstream in(testDaten("perft_regression.epd"));
    int faelle = 0, fehler = 0;
    for (std::string zeile; fehler <= 10 && std::getline(in, zeile);) {
        const auto semi = zeile.find(';');
        int tiefe = 0;
        unsigned long long knoten = 0;
        if (zeile.empty() || zeile[0] == '#') continue;
        if (std::sscanf(zeile.c_str() + semi + 1, "D%d %llu", &tiefe, &knoten) != 2) continue;
        const std::string fen = zeile.substr(0, semi);
        TestStellung t(fen.c_str());
        ASSERT_TRUE(t.ok) << fen;
        const std::string vorher = fenText(t.st);
        PerftTabelle_t* const mitTabelle = faelle++ % 7 ? nullptr : &tabelle;
        for (PerftTabelle_t* tab : {static_cast<PerftTabelle_t*>(nullptr), mitTabelle}) {
            const uint64_t n = perft(tab, t.st, t.d, tiefe);
            if (n != knoten) {
                ADD_FAILURE() << fen << " depth " << tiefe << ": " << n << " != " << knoten;
                ++fehler;
            }
        }
        EXPECT_EQ(fenText(t.st), vorher);
        EXPECT_TRUE(invariantenPruefen(t.st, &t.d));
    }
    EXPECT_GT(faelle, 400);
}
