// Hand-worked verdicts of the endgame recogniser. Each position is checked
// with both sides to move and against its colour-mirrored twin.
#include "endspiel_hilfen.h"
#include "eval/kbk_tabelle.h"

namespace {
constexpr Endspielurteil_t keins{0, 0};
constexpr Endspielurteil_t ersetzt(int32_t wert) { return {2, wert}; }
constexpr Endspielurteil_t zuschlag(int32_t wert) { return {1, wert}; }
} // namespace

TEST(Endspiel, HandWorkedVerdicts)
{
    // Kings a6/a8: centre term 252 - 166 = 86, distance 4 gives 2 * (5 - 4).
    // King and rook: 4820 + 200 + 86 + 2.
    erwarte("k7/8/K7/8/8/8/8/7R w - - 0 1", ersetzt(5108), ersetzt(-5108));
    // King and queen: 9792 + 200 + 86 + 2.
    erwarte("k7/8/K7/8/8/8/7Q/8 w - - 0 1", ersetzt(10080), ersetzt(-10080));
    // Queen against rook and bishop: d = 9792 - 7949 = 1843, (1843 - 1000) / 2
    // = 421; the centre and distance terms as above.
    erwarte("k7/8/K7/8/8/8/8/Q4rb1 w - - 0 1", ersetzt(509), ersetzt(-509));
    // Queen against rook: 9792 - 4820 + 200, centre term 0 (e1/e8 are both
    // 129), distance D(e1, e8) = 14 gives 2 * (5 - 14).
    erwarte("4k3/8/8/8/8/8/7r/3QK3 w - - 0 1", ersetzt(5154), ersetzt(-5154));

    // Lone minor pieces are dead draws, two knights keep a small plus; equal
    // material with one piece each is a draw, queen against pawn is left to
    // the evaluation; seven pieces or more never get a verdict.
    erwarte("k7/8/K7/8/8/8/8/6N1 w - - 0 1", ersetzt(0), ersetzt(0));
    erwarte("k7/8/K7/8/8/8/8/6B1 w - - 0 1", ersetzt(0), ersetzt(0));
    erwarte("k7/8/K7/8/8/8/8/5NN1 w - - 0 1", ersetzt(1), ersetzt(-1));
    erwarte("8/8/4k3/4p3/4P3/4K3/8/8 w - - 0 1", ersetzt(0), ersetzt(0));
    erwarte("8/8/4k3/8/8/3RK3/8/7r w - - 0 1", ersetzt(0), ersetzt(0));
    erwarte("8/8/4k3/8/8/4K3/8/1N5b w - - 0 1", ersetzt(0), ersetzt(0));
    erwarte("8/8/4k3/4p3/8/8/8/Q3K3 w - - 0 1", keins, keins);
    // Six pieces without pawns: still a mop-up (pieces 20716 + 200, kings
    // on e1/e8 cost 2 * (5 - 14)).
    erwarte("4k3/8/8/8/8/8/8/RNBQK3 w - - 0 1", ersetzt(20898), ersetzt(-20898));
    erwarte("4k3/8/8/8/8/8/8/RNBQKB2 w - - 0 1", keins, keins);
    erwarte("4k3/8/8/8/8/8/P7/RNBQK3 w - - 0 1", keins, keins);
    erwarte("4k3/pppp4/8/8/8/8/PP6/4K3 w - - 0 1", keins, keins);

    // a-pawn, dark-squared bishop c1: the a8 corner cannot be taken.
    erwarte("1k6/8/8/8/8/P7/8/K1B5 w - - 0 1", ersetzt(1), ersetzt(-1));
    erwarte("8/8/8/8/4k3/P7/8/K1B5 w - - 0 1", zuschlag(-1000), zuschlag(1000));
    // The light-squared bishop covers a8: no correction.
    erwarte("1k6/8/8/8/8/P7/8/K2B4 w - - 0 1", zuschlag(0), zuschlag(0));
    // h-pawn with a light-squared bishop, defender on g8.
    erwarte("6k1/8/8/8/8/7P/8/3B3K w - - 0 1", ersetzt(1), ersetzt(-1));
    // Not a rook pawn.
    erwarte("1k6/8/8/8/8/1P6/8/K1B5 w - - 0 1", zuschlag(0), zuschlag(0));
    // Black's a-pawn runs to a1 (dark); the bishop on c8 is light.
    erwarte("k1b5/8/p7/8/8/8/8/1K6 w - - 0 1", ersetzt(-1), ersetzt(1));

    // Pawn d7, nothing near d8: promotes at once (t = 1), and after any
    // Black move still does (t = 2).
    erwarte("8/3P4/8/8/8/8/k7/2K5 w - - 0 1", ersetzt(7306 - 10), ersetzt(-(7306 - 20)));
    // Rook pawn with the defender in the corner: a draw, 1 for the pawn side.
    erwarte("k7/8/1K6/P7/8/8/8/8 w - - 0 1", ersetzt(1), ersetzt(-1));
    // Kings in opposition in front of the pawn: with White to move a draw;
    // Black to move has to give way and loses, scored from the table's t.
    const int t = KbkTabelle[kbkIndex(kbkBauernIndex(D4), false, D7, D5)];
    ASSERT_LT(t, KBK_REMIS);
    erwarte("8/3k4/8/3K4/3P4/8/8/8 w - - 0 1", ersetzt(1), ersetzt(-(7306 - 10 * t)));
    // King on the sixth rank in front of its pawn: won whoever is to move.
    const int tw = KbkTabelle[kbkIndex(kbkBauernIndex(D5), true, D8, D6)];
    const int ts = KbkTabelle[kbkIndex(kbkBauernIndex(D5), false, D8, D6)];
    ASSERT_LT(tw, KBK_REMIS);
    ASSERT_LT(ts, KBK_REMIS);
    erwarte("3k4/8/3K4/3P4/8/8/8/8 w - - 0 1", ersetzt(7306 - 10 * tw), ersetzt(-(7306 - 10 * ts)));

    // Pawn d5 (table 1400), defender c7 beside the pawn's file: it races to
    // c6 (1 step), White's king e4 to d7 (3 steps): 1400 + 4 * (1 - 3), and
    // 6 less with Black to move.
    erwarte("8/2k5/8/3P4/4K3/8/8/r6R w - - 0 1", ersetzt(1392), ersetzt(-1386));
    // a-pawn a5 (800): the defender c7 races to a6 itself (2 steps), White's
    // king b3 to a7 (4 steps): 800 + 4 * (2 - 4).
    erwarte("8/2k5/8/P7/8/1K6/7r/4R3 w - - 0 1", ersetzt(792), ersetzt(-786));
    // b-pawn b4 (1000) with the rook more than three rows ahead (+200);
    // defender a7 to a5 (2), attacker d4 to b7 (3): -4; the rook far away
    // on the long side with the king on the short side: -300.
    erwarte("7r/k7/8/8/1P1K4/8/8/4R3 w - - 0 1", ersetzt(896), ersetzt(-890));
    // a-pawn a4 (400 + 200 for the rook ahead), defender a6 in front of it
    // (1 step to a5), attacker c3 (4 steps to a7): -12; rook on the long
    // side with the king on the short side -300, king in front -100.
    erwarte("4r3/8/k7/8/P7/2K5/8/7R w - - 0 1", ersetzt(188), ersetzt(-182));
    // King in front of the pawn and rook on the third rank: the textbook
    // draw scores 1.
    erwarte("3k4/8/r7/3P4/2K5/8/8/7R w - - 0 1", ersetzt(1), ersetzt(-1));

    // Pawn c4 (-180), kings e2 (79) and g7 (148), D(c4, e2) = 6,
    // D(c4, g7) = 11: -180 - 79 + 148 - 6 + 11.
    erwarte("7r/6k1/8/8/2P5/8/4K3/1N6 w - - 0 1", ersetzt(-106), ersetzt(106));
    // A rook pawn a4 races worse (-200); D(a4, e2) = 10, D(a4, g7) = 15.
    erwarte("7r/6k1/8/8/P7/8/4K3/1N6 w - - 0 1", ersetzt(-126), ersetzt(126));
    // Six pieces: one rook each and a minor piece for the defender.
    erwarte("7r/6k1/5b2/8/2P5/8/4K3/1R6 w - - 0 1", ersetzt(-106), ersetzt(106));

    // Black's knight d4 blockades White's d3 pawn on the fourth row seen
    // from the knights: 530 + 1800 + 500. White's king sits in the h1
    // corner; D(h1, a8) = 21 costs 42.
    erwarte("kn6/8/8/8/3n4/3P4/8/7K w - - 0 1", ersetzt(-2788), ersetzt(2788));
    // King g2 instead: two orthogonal steps and one king step from the
    // nearest corner (-100 - 20), D(g2, a8) = 18 (-36).
    erwarte("kn6/8/8/8/3n4/3P4/6K1/8 w - - 0 1", ersetzt(-2674), ersetzt(2674));
    // No blockade, but Black's king on h8 has no square left around it:
    // 2750 - file of the pawn (c).
    erwarte("7k/5K2/8/6N1/2p5/8/8/N7 w - - 0 1", ersetzt(2748), ersetzt(-2748));
    // White's knights against Black's pawn: blockade on the fifth row (510),
    // +1800 on the c-file but not on the b-file; D(h8, d1) = 18.
    erwarte("7k/8/2p5/8/2N5/8/8/N2K4 w - - 0 1", ersetzt(510 + 1800 - 36), ersetzt(-(510 + 1800 - 36)));
    erwarte("7k/8/1p6/8/1N6/8/8/N2K4 w - - 0 1", ersetzt(510 - 36), ersetzt(-(510 - 36)));
    // King h8 with g7 still free (and its own square): not trapped, 1.
    erwarte("7k/8/5N1N/8/2p5/8/8/K7 w - - 0 1", ersetzt(1), ersetzt(-1));
    // A knight on the promotion square is worth nothing as a blockade.
    erwarte("8/8/8/4k3/2p5/8/8/2N1K1N1 w - - 0 1", ersetzt(0), ersetzt(0));

    // Black's king a8: corner 1 + 4 + edge 3 + off centre 1, touching
    // White's king c7 3: c = 12, 13 with White to move; min(c, 8) * (c + 10) * 8.
    erwarte("k7/2K5/8/8/8/8/7r/5B1R w - - 0 1", ersetzt(8 * 23 * 8), ersetzt(-(8 * 22 * 8)));
    // A knight in the corner instead of the bishop costs one point.
    erwarte("k7/2K5/8/8/8/8/6r1/1R5N w - - 0 1", ersetzt(8 * 22 * 8), ersetzt(-(8 * 21 * 8)));
    // Black's king in the centre: no danger, 1.
    erwarte("8/8/8/3k4/8/8/7r/K4B1R w - - 0 1", ersetzt(1), ersetzt(-1));

    // King e8: -5 + edge 3 + off centre 1 + touching White's king 3 = 2;
    // knight a1 in the corner +1, its squares away from the king +1, seven
    // king steps away +4: c = 8, 9 with White to move.
    erwarte("4k3/8/4K3/8/8/8/8/n6R w - - 0 1", ersetzt(8 * 19 * 8), ersetzt(-(8 * 18 * 8)));
    // A bishop on a1 instead: no corner point, c = 7.
    erwarte("4k3/8/4K3/8/8/8/8/b6R w - - 0 1", ersetzt(8 * 18 * 8), ersetzt(-(7 * 17 * 8)));
    // The knight next to its king on d7 guards it: c = 2.
    erwarte("4k3/3n4/4K3/8/8/8/8/7R w - - 0 1", ersetzt(3 * 13 * 8), ersetzt(-(2 * 12 * 8)));

    // Light-squared bishop: the mating corners are a8 and h1. King a1 is
    // seven orthogonal steps from both: 252 - 111 + 3 * (5 - 5) + 6104 - 420.
    erwarte("8/8/8/8/8/8/2K5/k2B2N1 w - - 0 1", ersetzt(5825), ersetzt(-5825));
    // In the right corner h1 nothing is taken off.
    erwarte("8/8/8/8/8/8/5K2/1N1B3k w - - 0 1", ersetzt(6245), ersetzt(-6245));
}

// Random placements of the materials the recogniser knows, and of a few it
// leaves alone, in both colours: the colour-mirrored twin always gets the
// same verdict (the dispatch's White and Black branches checked against
// each other), and so does the file-mirrored position, except in the
// two-knights ending whose trapped-king score depends on the pawn's file.
TEST(Endspiel, RandomPositionsGetMirroredVerdicts)
{
    const char* materialien[] = {"KRPkr", "KRBkr", "KRNkr",  "KRkn",   "KRkb", "KBNk", "KBPk", "KNNkp",
                                 "KPk",   "KPNkr", "KPRkrb", "KPNknb", "KQkr", "KRk",  "KQk",  "Kk",
                                 "KNkb",  "KPkp",  "KRPkrp", "KQRkbn", "KPkn", "KBBk", "KNk",  "KRPPkr"};
    Xorshift zufall;
    int geprueft = 0;
    for (int farbe = 0; farbe < 2; ++farbe)
        for (const char* m : materialien)
            for (int versuch = 0; versuch < 300; ++versuch) {
                std::vector<Stein> steine;
                Bitboard belegt = 0;
                for (const char* c = m; *c; ++c) {
                    const char figur = farbe ? char(*c ^ 0x20) : *c; // the other colour in the second round
                    int sq;
                    do sq = std::tolower(figur) == 'p' ? 8 + int(zufall() % 48) : int(zufall() % 64);
                    while (belegt & bit(sq));
                    belegt |= bit(sq);
                    steine.push_back({figur, sq});
                }
                const int amZug = int(zufall() % 2);
                const std::string fen = fenAus(steine, amZug);
                const TestStellung t(fen.c_str());
                // Kings side by side or the side not to move in check: not a position.
                if (!t.ok || (AT.koenig[t.st.seite[WEISS].koenig] & bit(t.st.seite[SCHWARZ].koenig)))
                    continue;
                SCOPED_TRACE(fen);
                const Endspielurteil_t u = urteilGespiegeltGleich(t.st);
                if (std::string(m) != "KNNkp") {
                    for (Stein& s : steine) s.feld ^= 7;
                    const TestStellung gespiegelt(fenAus(steine, amZug).c_str());
                    ASSERT_TRUE(gespiegelt.ok);
                    EXPECT_PRED2(gleich, endspielErkennen(gespiegelt.st), u);
                }
                ++geprueft;
            }
    EXPECT_GT(geprueft, 10000);
}
