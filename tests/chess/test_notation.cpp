#include <gtest/gtest.h>

#include "../test_hilfen.h"
#include "chess/spiel.h"

namespace {
std::string san(const char* fen, const char* text)
{
    TestStellung t(fen);
    if (!t.ok) return "bad fen";
    Zug z = sanZugLesen(t.st, t.d, text);
    return z ? zugText(t.st, z) : "0";
}
const char* START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
} // namespace

TEST(Notation, SanReaderAcceptsEnglishAndGermanLettersAndNarrowing)
{
    EXPECT_EQ(san(START, "Nf3"), "g1f3");
    EXPECT_EQ(san(START, "Sf3"), "g1f3");
    EXPECT_EQ(san(START, "Ngf3"), "g1f3");
    EXPECT_EQ(san(START, "Ng1-f3"), "g1f3");
    EXPECT_EQ(san(START, "e4"), "e2e4");
    EXPECT_EQ(san(START, "e3!?"), "e2e3");
    EXPECT_EQ(san(START, "e5"), "0");
    EXPECT_EQ(san(START, "Nd2"), "0"); // own piece there
    // Two knights can reach d2: the file or rank must tell them apart.
    const char* zwei = "4k3/8/8/8/8/5N2/8/1N2K3 w - - 0 1";
    EXPECT_EQ(san(zwei, "Nd2"), "0");
    EXPECT_EQ(san(zwei, "Nbd2"), "b1d2");
    EXPECT_EQ(san(zwei, "N3d2"), "f3d2");
    // An illegal candidate (pinned knight) drops out.
    EXPECT_EQ(san("4k3/8/8/8/8/5N2/8/rN2K3 w - - 0 1", "Nd2"), "f3d2");
}

TEST(Notation, SanReaderChecksCaptureMarksPromotionsAndAnnotations)
{
    const char* fen = "rnbqkbnr/pppp1ppp/8/8/4p3/5N2/PPPPPPPP/RNBQKB1R w KQkq - 0 1";
    EXPECT_EQ(san(fen, "Nxe5"), "0");     // e5 is empty
    EXPECT_EQ(san(fen, "Ne5"), "f3e5");
    EXPECT_EQ(san("4k3/8/8/4p3/8/5N2/8/4K3 w - - 0 1", "Ne5"), "0"); // must say x
    EXPECT_EQ(san("4k3/8/8/4p3/8/5N2/8/4K3 w - - 0 1", "Nxe5"), "f3e5");
    EXPECT_EQ(san("4k3/8/8/4p3/8/5N2/8/4K3 w - - 0 1", "N-e5"), "0");
    const char* ep = "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1";
    EXPECT_EQ(san(ep, "exd6"), "e5d6");
    EXPECT_EQ(san(ep, "exd6 e.p."), "e5d6");
    EXPECT_EQ(san(ep, "exd6e.p."), "e5d6");
    EXPECT_EQ(san(ep, "ed6"), "0");
    EXPECT_EQ(san("4k3/8/8/3pP3/8/8/8/4K3 w - - 0 1", "e6 ep"), "0");
    const char* promo = "8/4P3/8/8/8/8/k7/4K3 w - - 0 1";
    EXPECT_EQ(san(promo, "e8=Q"), "e7e8q");
    EXPECT_EQ(san(promo, "e8Q"), "e7e8q");
    EXPECT_EQ(san(promo, "e8=D"), "e7e8q");
    EXPECT_EQ(san(promo, "e8/S"), "e7e8n");
    EXPECT_EQ(san(promo, "e8"), "0");
    // Fool's mate: Qh4# only when it mates, Qh4+ only when it checks.
    const char* narr = "rnbqkbnr/pppp1ppp/8/4p3/6P1/5P2/PPPPP2P/RNBQKBNR b KQkq - 0 2";
    EXPECT_EQ(san(narr, "Qh4#"), "d8h4");
    EXPECT_EQ(san(narr, "Qh4++"), "d8h4");
    EXPECT_EQ(san(narr, "Qh4+"), "d8h4");
    EXPECT_EQ(san(narr, "Qh4+#"), "0");
    EXPECT_EQ(san(narr, "Qh4!!?"), "0");
    EXPECT_EQ(san(narr, "Qg5#"), "0");
    EXPECT_EQ(san(START, "Nf3+"), "0");
    // Castling needs the right and a legal path.
    const char* roch = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1";
    EXPECT_EQ(san(roch, "O-O"), "e1g1");
    EXPECT_EQ(san(roch, "0-0-0"), "e1c1");
    EXPECT_EQ(san("r3k2r/8/8/8/8/8/8/R3K2R w Qkq - 0 1", "O-O"), "0");
    // Malformed bodies.
    for (const char* text : {"", "N", "Nf", "Nf9", "Zf3", "Nf3xx", "Ng1f3xyz", "xe4", "O-O-O-O"})
        EXPECT_EQ(san(roch, text), "0") << text;
}

TEST(Notation, CoordinateReaderAndWriter)
{
    TestStellung t;
    EXPECT_EQ(zugText(t.st, koordinatenZugLesen(t.st, "e2e4")), "e2e4");
    EXPECT_EQ(koordinatenZugLesen(t.st, "e3e4"), 0u); // no piece there
    EXPECT_EQ(koordinatenZugLesen(t.st, "e2"), 0u);
    EXPECT_EQ(koordinatenZugLesen(t.st, "z2e4"), 0u);
    EXPECT_EQ(zugText(t.st, 0), "0000");
    TestStellung p("8/4P3/8/8/8/8/k7/4K3 w - - 0 1");
    EXPECT_EQ(zugArt(koordinatenZugLesen(p.st, "e7e8q")), ART_PROMO_DAME);
    EXPECT_EQ(zugArt(koordinatenZugLesen(p.st, "e7e8N")), ART_PROMO_SPRINGER);
    EXPECT_EQ(zugArt(koordinatenZugLesen(p.st, "e7e8t")), ART_PROMO_TURM);
    TestStellung ep("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1");
    EXPECT_EQ(zugArt(koordinatenZugLesen(ep.st, "e5d6")), ART_EP);
    // Castling as the king's move, as O-O words, or as the king taking its rook.
    TestStellung r("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    EXPECT_EQ(koordinatenZugLesen(r.st, "e1g1"), zugBauen(E1, G1, ART_ROCHADE));
    EXPECT_EQ(koordinatenZugLesen(r.st, "e1h1"), zugBauen(E1, G1, ART_ROCHADE));
    EXPECT_EQ(koordinatenZugLesen(r.st, "e1a1"), zugBauen(E1, C1, ART_ROCHADE));
    EXPECT_EQ(koordinatenZugLesen(r.st, "O-O-O"), zugBauen(E1, C1, ART_ROCHADE));
    EXPECT_EQ(koordinatenZugLesen(r.st, "0-0"), zugBauen(E1, G1, ART_ROCHADE));
    EXPECT_EQ(koordinatenZugLesen(r.st, "e1f1"), zugBauen(E1, F1, KOENIG));
    EXPECT_EQ(zugText(r.st, zugBauen(E1, G1, ART_ROCHADE)), "e1g1");
    // Chess960 with the king next to its rook: f1g1 is castling.
    TestStellung c("4k3/8/8/8/8/8/8/5KR1 w K - 0 1");
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(koordinatenZugLesen(c.st, "f1g1"), zugBauen(F1, G1, ART_ROCHADE));
    EXPECT_TRUE(zugLegal(c.st, c.d, zugBauen(F1, G1, ART_ROCHADE)));
}
