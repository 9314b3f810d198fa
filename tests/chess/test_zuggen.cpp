#include <gtest/gtest.h>

#include <set>

#include "../test_hilfen.h"
#include "chess/spiel.h"
#include "chess/zuggen.h"

namespace {
// The moves as text; none may come twice.
std::set<std::string> texte(const TestStellung& t, const Zug* anfang, const Zug* ende)
{
    std::set<std::string> s;
    for (const Zug* p = anfang; p != ende; ++p) EXPECT_TRUE(s.insert(zugText(t.st, *p)).second) << "twice";
    return s;
}
std::set<std::string> zuege(TestStellung& t, Zug* (*gen)(const Stellung_t&, const Stellungsdaten_t&, Zug*))
{
    Zug liste[MAX_ZUEGE];
    return texte(t, liste, gen(t.st, t.d, liste));
}
std::set<std::string> ruhe(TestStellung& t, Bitboard maske, int modus)
{
    Zug liste[MAX_ZUEGE];
    return texte(t, liste, ruheZuege(t.st, t.d, maske, modus, liste));
}
} // namespace

TEST(MoveGen, EvasionsInDoubleCheckAndWithPins)
{
    // Double check by rook e8 and bishop b4 (after a discovered check):
    // only king moves.
    TestStellung dop("4r2k/8/8/8/1b6/8/3N4/4K3 w - - 0 1");
    ASSERT_TRUE(dop.ok);
    for (const std::string& z : zuege(dop, alleZuege)) EXPECT_EQ(z.substr(0, 2), "e1") << z;
    // The king may not step back along the rook's line; the pinned knight
    // takes no part; the bishop may block or capture.
    TestStellung t("4r2k/8/8/8/8/8/2N1B3/4K2b w - - 0 1");
    auto z = zuege(t, alleZuege);
    EXPECT_TRUE(z.count("e2e3") == 0);
    EXPECT_TRUE(z.count("e1d1") == 1);
    TestStellung r("4r2k/8/8/8/8/8/8/4K3 w - - 0 1");
    auto zr = zuege(r, alleZuege);
    EXPECT_EQ(zr.count("e1e2"), 0u); // along the checking line, away from the rook
    EXPECT_EQ(zr.count("e1d2"), 1u);
    // In check from h1, the knight on d2 could block on f1 but is pinned by b4.
    TestStellung pin("4k3/8/8/8/1b6/8/3N4/4K2r w - - 0 1");
    for (const std::string& m : zuege(pin, alleZuege)) EXPECT_NE(m.substr(0, 2), "d2") << m;
    TestStellung frei("4k3/8/8/8/8/8/3N4/4K2r w - - 0 1");
    EXPECT_EQ(zuege(frei, alleZuege).count("d2f1"), 1u);
}

TEST(MoveGen, CastlingNeedsFreeAndSafeSquares)
{
    TestStellung t("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    auto z = zuege(t, alleZuege);
    EXPECT_EQ(z.count("e1g1"), 1u);
    EXPECT_EQ(z.count("e1c1"), 1u);
    TestStellung angegriffen("r3k2r/8/8/8/8/8/5r2/R3K2R w KQkq - 0 1"); // f2 rook hits f1
    EXPECT_EQ(zuege(angegriffen, alleZuege).count("e1g1"), 0u);
    TestStellung b1("r3k2r/8/8/8/8/8/8/RN2K2R w KQkq - 0 1"); // b1 occupied
    EXPECT_EQ(zuege(b1, alleZuege).count("e1c1"), 0u);
    TestStellung b1angegriffen("r3k2r/8/8/8/8/8/1r6/R3K2R w KQkq - 0 1"); // b1 attacked: still legal
    EXPECT_EQ(zuege(b1angegriffen, alleZuege).count("e1c1"), 1u);
}

TEST(MoveGen, QuiescenceModesAddChecksOnlyWhenAsked)
{
    // White: knight can give a quiet safe check on f7? Queen can take a pawn.
    TestStellung t("6k1/5ppp/8/3p4/8/2N5/5PPP/3Q2K1 w - - 0 1");
    Bitboard bauern = t.st.seite[SCHWARZ].bb[BAUER];
    auto nur = ruhe(t, 0, 0);
    auto schlaege = ruhe(t, bauern, 0);
    auto mitSchach = ruhe(t, bauern, 1);
    EXPECT_TRUE(nur.empty());
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
    EXPECT_EQ(ruhe(s, 0, 0), zuege(s, alleZuege));
    // A discovered check by the bishop: the knight leaves the diagonal.
    TestStellung ab("7k/8/8/8/3N4/8/1B6/6K1 w - - 0 1");
    auto abz = ruhe(ab, 0, 1);
    EXPECT_EQ(abz.count("d4f5"), 1u);
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
                    Zug z = zugBauen(von, nach, art);
                    if (!legal.count(z)) {
                        EXPECT_FALSE(zugLegal(t.st, t.d, z)) << fen << " " << zugText(t.st, z);
                    }
                }
    }
}
