#include "../test_hilfen.h"
#include "timenet/zeitmerkmale.h"

TEST(Zeitmerkmale, ThreatenedOpponentPieces)
{
    const std::pair<const char*, int> faelle[] = {
        {nullptr, 0},                                      // start position
        {"4k3/8/8/3n4/8/8/8/3RK3 w - - 0 1", 1},           // a rook attacks an undefended knight
        {"4k3/8/4p3/3n4/4P3/8/8/4K3 w - - 0 1", 1},        // defended, but attacked by a lesser piece
        {"4k3/8/4p3/3n4/8/4N3/8/4K3 w - - 0 1", 0},        // defended, attacked by an equal piece
        {"4k3/8/8/3n4/4P3/8/8/4K3 w - - 0 1", 1},          // undefended and attacked by a pawn: once
        {"4k3/8/8/8/3N4/4p3/3r1R2/6K1 b - - 0 1", 2},      // Black to move
        {"4k3/8/8/1p1p4/8/2N5/8/4K3 w - - 0 1", 2},        // undefended pawns count too
    };
    for (const auto& [fen, n] : faelle) {
        TestStellung t(fen);
        ASSERT_TRUE(t.ok) << fen;
        EXPECT_EQ(bedrohteFiguren(t.st, t.d), n) << (fen ? fen : "start");
    }
    // The king counts whenever it is attacked, even on a "defended" square
    // (looked at with the attacker to move).
    TestStellung t("4k2r/8/8/8/8/8/8/4R1K1 b - - 0 1");
    t.st.amZug = WEISS;
    datenBerechnen(t.st, t.d);
    EXPECT_EQ(bedrohteFiguren(t.st, t.d), 1);
}

TEST(Zeitmerkmale, TacticalMoves)
{
    TestStellung t("4k3/1P6/8/3n4/4P3/8/8/4K2R w K - 0 1");
    ASSERT_TRUE(t.ok);
    EXPECT_TRUE(zugIstTaktisch(t.st, zugBauen(E4, D5, BAUER)));              // capture
    EXPECT_FALSE(zugIstTaktisch(t.st, zugBauen(E4, E5, BAUER)));             // quiet
    EXPECT_TRUE(zugIstTaktisch(t.st, zugBauen(B7, B8, ART_PROMO_SPRINGER))); // promotion
    EXPECT_TRUE(zugIstTaktisch(t.st, zugBauen(E4, D3, ART_EP)));             // kind counts
    EXPECT_FALSE(zugIstTaktisch(t.st, zugBauen(E1, G1, ART_ROCHADE)));
}
