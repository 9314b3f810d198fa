#include "../test_hilfen.h"
#include "chess/zuggen.h"

namespace {
// The moves as text; none may come twice.
std::set<std::string> texte(const TestStellung& t, const Zug* anfang, const Zug* ende)
{
    std::set<std::string> s;
    for (const Zug* p = anfang; p != ende; ++p) EXPECT_TRUE(s.insert(zugText(t.st, *p)).second) << "twice";
    return s;
}
std::set<std::string> ruhe(TestStellung& t, Bitboard maske, int modus)
{
    Zug liste[MAX_ZUEGE];
    return texte(t, liste, ruheZuege(t.st, t.d, maske, modus, liste));
}
} // namespace

// Plain legal move generation (checks, pins, castling through attacked
// squares) is pinned by the perft suite; these are the generators it does
// not reach.
TEST(MoveGen, QuiescenceModesAddChecksOnlyWhenAsked)
{
    // White: knight can give a quiet safe check on f7? Queen can take a pawn.
    TestStellung t("6k1/5ppp/8/3p4/8/2N5/5PPP/3Q2K1 w - - 0 1");
    Bitboard bauern = t.st.seite[SCHWARZ].bb[BAUER];
    auto schlaege = ruhe(t, bauern, 0);
    auto mitSchach = ruhe(t, bauern, 1);
    EXPECT_TRUE(ruhe(t, 0, 0).empty());
    EXPECT_EQ(schlaege.count("c3d5"), 1u);
    EXPECT_EQ(schlaege.count("d1d5"), 1u);
    for (const std::string& m : schlaege) EXPECT_TRUE(mitSchach.count(m)) << m;
    // A quiet back-rank check on a safe square only from mode 1 on.
    TestStellung q("6k1/5ppp/8/8/8/8/5PPP/3Q2K1 w - - 0 1");
    EXPECT_EQ(ruhe(q, 0, 0).count("d1d8"), 0u);
    EXPECT_EQ(ruhe(q, 0, 1).count("d1d8"), 1u);
    // Promotions come as queens only; in check the generator gives evasions.
    TestStellung p("6k1/P7/8/8/8/8/8/6K1 w - - 0 1");
    auto pz = ruhe(p, 0, 0);
    EXPECT_EQ(pz.count("a7a8q"), 1u);
    EXPECT_EQ(pz.count("a7a8n"), 0u);
    TestStellung s("6k1/8/8/8/8/8/8/r5K1 w - - 0 1");
    Zug liste[MAX_ZUEGE];
    EXPECT_EQ(ruhe(s, 0, 0), texte(s, liste, alleZuege(s.st, s.d, liste)));
    // A discovered check by the bishop: the knight leaves the diagonal.
    TestStellung ab("7k/8/8/8/3N4/8/1B6/6K1 w - - 0 1");
    EXPECT_EQ(ruhe(ab, 0, 1).count("d4f5"), 1u);
    EXPECT_EQ(ruhe(ab, 0, 0).size(), 0u); // mode 0: only captures
}

TEST(MoveGen, GeneratedMovesAreExactlyTheLegalOnesAfterFiltering)
{
    // Pseudo-legal generation plus the king test equals a brute-force
    // check of every from/to pair in a few busy positions.
    const char* fens[] = {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
                          "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
                          "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1"};
    for (const char* fen : fens) {
        TestStellung t(fen);
        Zug liste[MAX_ZUEGE];
        Zug* ende = legaleZuege(t.st, t.d, liste);
        std::set<Zug> legal(liste, ende);
        for (Zug z : legal) EXPECT_TRUE(zugLegal(t.st, t.d, z));
        for (int von = 0; von < 64; ++von)
            for (int nach = 0; nach < 64; ++nach)
                for (int art = 1; art <= 12; ++art) {
                    const Zug z = zugBauen(von, nach, art);
                    EXPECT_TRUE(legal.count(z) || !zugLegal(t.st, t.d, z))
                        << fen << " " << zugText(t.st, z);
                }
    }
}
