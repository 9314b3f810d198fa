#include <gtest/gtest.h>

#include "../test_hilfen.h"
#include "timenet/zeitmerkmale.h"

namespace {

int bedroht(const char* fen)
{
    TestStellung t(fen);
    EXPECT_TRUE(t.ok) << fen;
    return bedrohteFiguren(t.st, t.d);
}

} // namespace

TEST(Zeitmerkmale, ThreatenedOpponentPieces)
{
    EXPECT_EQ(bedroht(nullptr), 0); // start position
    // A rook attacks an undefended knight.
    EXPECT_EQ(bedroht("4k3/8/8/3n4/8/8/8/3RK3 w - - 0 1"), 1);
    // The knight is defended by a pawn; it is attacked by a lesser piece
    // (a pawn) and so counts all the same.
    EXPECT_EQ(bedroht("4k3/8/4p3/3n4/4P3/8/8/4K3 w - - 0 1"), 1);
    // Defended and attacked only by an equal piece: no threat.
    EXPECT_EQ(bedroht("4k3/8/4p3/3n4/8/4N3/8/4K3 w - - 0 1"), 0);
    // Undefended and attacked by a pawn: in both sets, counted once.
    EXPECT_EQ(bedroht("4k3/8/8/3n4/4P3/8/8/4K3 w - - 0 1"), 1);
    // Black to move: a rook attacks the undefended white knight and a pawn
    // the defended white rook.
    EXPECT_EQ(bedroht("4k3/8/8/8/3N4/4p3/3r1R2/6K1 b - - 0 1"), 2);
    // Undefended pawns count too.
    EXPECT_EQ(bedroht("4k3/8/8/1p1p4/8/2N5/8/4K3 w - - 0 1"), 2);
}

TEST(Zeitmerkmale, KingCountsWheneverItIsAttacked)
{
    // The black king on e8 stands in the rook's line; the h8 rook "defends"
    // its square, yet the king counts.
    TestStellung t("4k2r/8/8/8/8/8/8/4R1K1 b - - 0 1");
    ASSERT_TRUE(t.ok);
    // Look at it from white's side: white to move, black king attacked.
    Stellung_t st = t.st;
    st.amZug = WEISS;
    Stellungsdaten_t d;
    datenBerechnen(st, d);
    EXPECT_EQ(bedrohteFiguren(st, d), 1);
}

TEST(Zeitmerkmale, TacticalMoves)
{
    TestStellung t("4k3/1P6/8/3n4/4P3/8/8/4K2R w K - 0 1");
    ASSERT_TRUE(t.ok);
    EXPECT_TRUE(zugIstTaktisch(t.st, zugBauen(E4, D5, BAUER)));            // capture
    EXPECT_FALSE(zugIstTaktisch(t.st, zugBauen(E4, E5, BAUER)));           // quiet
    EXPECT_TRUE(zugIstTaktisch(t.st, zugBauen(B7, B8, ART_PROMO_SPRINGER))); // promotion
    EXPECT_TRUE(zugIstTaktisch(t.st, zugBauen(E4, D3, ART_EP)));           // kind counts
    EXPECT_FALSE(zugIstTaktisch(t.st, zugBauen(E1, G1, ART_ROCHADE)));
}
