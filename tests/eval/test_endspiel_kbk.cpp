#include "eval/kbk_tabelle.h"
#include "endspiel_hilfen.h"
#include "kbk_brute_force.h"

// The table and the brute force agree on every position with the pawn on
// files a-d:
// - positions that cannot occur are marked impossible; the one exception is
//   the entry for the captured pawn (defending king on the pawn's square,
//   White to move, kings apart), which the table holds as a draw;
// - the table calls a legal position a win exactly when White can force a
//   safe promotion (the pawn reaches the eighth rank and the new queen
//   cannot be taken at once); stalemates after that promotion still count
//   as wins, under both definitions;
// - a pawn on its second rank steps two squares only over an empty square;
// - a win in t is never faster than the true number of plies to that
//   promotion (the table takes the first winning move it finds, not the
//   shortest), and t is odd with White to move, even with Black to move.
// The recogniser, on positions with the pawn on any file and of either
// colour, scores a table win (above 1 for the pawn side) exactly where the
// brute force finds a forced safe promotion, 1 for the pawn side where it
// does not: a sample of every legal position, each checked together with
// its colour-mirrored twin (Black's pawn).
TEST(KbkTabelle, TableAndRecogniserAgreeWithBruteForceOnEveryPosition)
{
    // The test environment has built the table already; another call must
    // not touch it.
    static uint8_t kopie[KBK_GROESSE];
    std::copy(std::begin(KbkTabelle), std::end(KbkTabelle), kopie);
    kbkTabelleBauen();
    EXPECT_TRUE(std::equal(std::begin(KbkTabelle), std::end(KbkTabelle), kopie));
    for (uint8_t t : KbkTabelle) ASSERT_TRUE(t >= 1 && t <= KBK_UNMOEGLICH);
    const KbkBruteForce bf;
    int gewinne = 0, remis = 0, kuerzeste = 0, geprueft = 0, n = 0;
    for (int p = 8; p < 56; ++p)
        for (int w = 0; w < 64; ++w)
            for (int b = 0; b < 64; ++b)
                for (int seite : {WEISS, SCHWARZ}) {
                    const bool weissAmZug = seite == WEISS;
                    const int d = bf.plies(p, w, b, weissAmZug);
                    SCOPED_TRACE(testing::Message() << "pawn " << p << " wK " << w << " bK " << b
                                                    << (weissAmZug ? " white" : " black") << " to move");
                    const int i = kbkBauernIndex(p); // files e-h: the recogniser only
                    const int t = i < 0 ? 0 : KbkTabelle[kbkIndex(i, weissAmZug, b, w)];
                    if (i >= 0 && d == KbkBruteForce::ILLEGAL) {
                        if (b == p && weissAmZug && w != b && !KbkBruteForce::adjacent(w, b))
                            ASSERT_EQ(t, KBK_REMIS);
                        else
                            ASSERT_EQ(t, KBK_UNMOEGLICH);
                    } else if (i >= 0 && d == 0) {
                        ASSERT_EQ(t, KBK_REMIS);
                        ++remis;
                    } else if (i >= 0) {
                        ASSERT_LT(t, KBK_REMIS);
                        ASSERT_GE(t, d);
                        ASSERT_EQ(t % 2, weissAmZug ? 1 : 0);
                        ++gewinne;
                        kuerzeste += t == d;
                    }

                    if (d == KbkBruteForce::ILLEGAL || ++n % 11) continue;
                    const std::string fen = fenAus({{'P', p}, {'K', w}, {'k', b}}, seite);
                    SCOPED_TRACE(fen);
                    const Endspielurteil_t u = urteilGespiegeltGleich(stellungAus(fen.c_str()));
                    ASSERT_EQ(u.art, 2);
                    const int32_t fuerWeiss = seite == WEISS ? u.wert : -u.wert;
                    if (d > 0) {
                        ASSERT_GE(fuerWeiss, 7306 - 10 * 125);
                        ASSERT_LE(fuerWeiss, 7306 - 10 * d);
                    } else {
                        ASSERT_EQ(fuerWeiss, 1);
                    }
                    ++geprueft;
                }
    // Sanity of the comparison itself: both outcomes occur in numbers.
    EXPECT_GT(gewinne, 100000);
    EXPECT_GT(remis, 30000);
    EXPECT_GT(kuerzeste, gewinne / 2);
    EXPECT_GT(geprueft, 25000);
}
