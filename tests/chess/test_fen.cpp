#include "../test_hilfen.h"

// Every FEN is written back as it was read, except an en-passant square no
// pawn can take on (e3 in the last case): it is dropped, and the key is that
// of the position without en passant.
TEST(Fen, RoundTripsAndEnPassantOnlyWhenACaptureIsPossible)
{
    const std::pair<const char*, const char*> faelle[] = {
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", nullptr},
        {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", nullptr},
        {"rnbqkbnr/pppp1pp1/8/3Pp2p/3Q4/8/PPP1PPPP/RNB1KBNR w KQkq e6", nullptr},
        {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", nullptr},
        {"4k3/8/8/8/8/8/8/4K2R w K -", nullptr},
        {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1",
         "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq -"},
    };
    for (auto [fen, zurueck] : faelle) {
        TestStellung t(fen);
        ASSERT_TRUE(t.ok) << fen;
        EXPECT_EQ(fenText(t.st), zurueck ? zurueck : fen);
        EXPECT_EQ(t.d.schluessel, TestStellung(fenText(t.st).c_str()).d.schluessel) << fen;
        EXPECT_TRUE(!zurueck || t.st.ep == 0) << fen << ": e.p. square " << int(t.st.ep);
    }
}

TEST(Fen, IllegalPositionsAreRejected)
{
    const char* schlecht[] = {
        "",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP w KQkq - 0 1",             // seven ranks
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBN w KQkq - 0 1",     // short last rank
        "rnbqkbnr/pppppppp/9/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",    // nine files
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq - 0 1",    // side
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkx - 0 1",    // castling letter
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq e4 0 1",   // e.p. rank
        "P3k3/8/8/8/8/8/8/4K3 w - - 0 1",                              // pawn on the eighth rank
        "4k3/8/8/8/8/8/8/p3K3 b - - 0 1",                              // pawn on the first rank
        "4k2R/8/8/8/8/8/8/4K3 w - - 0 1",                              // Black, not to move, in check
        "4k3/8/8/8/8/8/4K3/7R w K - 0 1",                              // king off its first rank with a right
        "4k3/8/8/8/8/8/8/4K3 w K - 0 1",                               // right without a rook
        "rnbqkbnr/ppp1pppp/8/8/3p4/8/PPPPPPPP/RNBQKBNR w KQkq d6 0 1", // no pawn behind d6
        "rnbqkbnr/ppp1pppp/3p4/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 1", // d6 occupied
        // Ten rooks and a pawn: more promoted pieces than missing pawns (the
        // pawn's promotion would overflow the rook list).
        "r3k2r/1Pppqpb1/rn2pnp1/3PN3/1p2R3/2N2Q1p/rRRRRRRR/R3K2R w Qkq - 2 1",
        "8/8/7k/8/8/QQQ5/QQQP4/QQQ1K3 w - - 0 1",
        "NNNNNNNN/NNN5/8/8/8/8/8/4K2k w - - 0 1", // eleven knights
        "8/8/8/8/8/8/8/7k w - - 0 1",             // no white king
        "K7/8/8/8/8/8/8/K6k w - - 0 1",           // two white kings
    };
    for (const char* fen : schlecht) EXPECT_FALSE(TestStellung(fen).ok) << fen;
    const char* gut[] = {
        "4k3/8/8/8/8/8/8/4K2r w - - 0 1",               // the side to move may stand in check
        "4k3/8/8/8/8/8/8/4K3 w - - 0 1 moves e1e2",     // text after the counters is left to the caller
        "4k3/8/8/8/8/8/8/4K3 w - -",                    // counters missing
        "4k3/8/8/8/8/8/8/4K3 w",                        // castling and e.p. fields missing
        "R6R/3Q4/1Q4Q1/4Q3/2Q4Q/Q4Q2/pp1Q4/kBNN1KB1 w - - 0 1", // nine queens, no pawns left
        "NNNNNNNN/NN6/8/8/8/8/8/4K2k w - - 0 1",                 // ten knights
    };
    for (const char* fen : gut) EXPECT_TRUE(TestStellung(fen).ok) << fen;
}

TEST(Fen, ChessNineSixtyCastlingFields)
{
    // Shredder letters on the standard squares set both flags; castling is
    // then written as the king taking its rook.
    TestStellung hAha("r3k2r/8/8/8/8/8/8/R3K2R w HAha - 0 1");
    ASSERT_TRUE(hAha.ok);
    EXPECT_EQ(std::tuple(hAha.st.rochade, bool(hAha.st.chess960), bool(hAha.st.buchstabenRochade)),
              std::tuple(15, true, true));
    EXPECT_EQ(zugText(hAha.st, zugBauen(E1, G1, ART_ROCHADE)), "e1h1");
    EXPECT_EQ(zugText(hAha.st, zugBauen(E1, C1, ART_ROCHADE)), "e1a1");
    // Rooks on f1 and h1 with the right on the f-file: written as Kf.
    TestStellung kf("4k3/8/8/8/8/8/8/4KR1R w Kf - 0 1");
    ASSERT_TRUE(kf.ok);
    EXPECT_EQ(kf.st.seite[WEISS].turmKurz, F1);
    EXPECT_EQ(fenText(kf.st), "4k3/8/8/8/8/8/8/4KR1R w Kf -");
    TestStellung wieder(fenText(kf.st).c_str());
    EXPECT_EQ(wieder.st.seite[WEISS].turmKurz, F1);
    // Without a file the outermost rook is the castling rook.
    TestStellung aussen("4k3/8/8/8/8/8/8/4KR1R w K - 0 1");
    EXPECT_EQ(std::tuple(aussen.st.seite[WEISS].turmKurz, bool(aussen.st.chess960)), std::tuple(H1, false));
    // X-FEN in a Chess960 start position: the flag is set, the letter flag not.
    TestStellung x("bbqnnrkr/pppppppp/8/8/8/8/PPPPPPPP/BBQNNRKR w KQkq - 0 1");
    ASSERT_TRUE(x.ok);
    EXPECT_EQ(std::tuple(bool(x.st.chess960), bool(x.st.buchstabenRochade), x.st.seite[WEISS].turmLang,
                         x.st.seite[SCHWARZ].turmKurz),
              std::tuple(true, false, F1, H8));
    EXPECT_EQ(zugText(x.st, zugBauen(G1, G1, ART_ROCHADE)), "O-O");
    EXPECT_EQ(zugText(x.st, zugBauen(G1, C1, ART_ROCHADE)), "O-O-O");
    // Kings on different files cannot both keep rights.
    EXPECT_FALSE(TestStellung("r2r3k/p7/3p4/8/8/P6P/8/R3K2R b KQq - 0 1").ok);
}

TEST(Fen, ChessNineSixtyStartPositions)
{
    char fen[64];
    const char* start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    for (auto [n, text] : {std::pair{0u, "bbqnnrkr/pppppppp/8/8/8/8/PPPPPPPP/BBQNNRKR w KQkq - 0 1"},
                           {959u, "rkrnnqbb/pppppppp/8/8/8/8/PPPPPPPP/RKRNNQBB w KQkq - 0 1"}, {518u, start},
                           {518u + 960u, start}}) {
        chess960Fen(n, fen);
        EXPECT_STREQ(fen, text) << n;
    }
    Stellung_t st;
    chess960Setzen(st, 518);
    EXPECT_FALSE(st.chess960);
    // All 960 are legal, distinct, and have 18..21 legal first moves.
    std::set<std::string> gesehen;
    for (unsigned n = 0; n < 960; ++n) {
        chess960Fen(n, fen);
        TestStellung t(fen);
        ASSERT_TRUE(t.ok) << fen;
        EXPECT_TRUE(gesehen.insert(fen).second);
        const int z = legaleZuegeZaehlen(t.st, t.d);
        EXPECT_TRUE(z >= 18 && z <= 21) << fen << ": " << z;
    }
}
