#include "../test_hilfen.h"

namespace {
const char* START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
// Every text of a case reads as the same move ("0": refused).
struct Fall {
    const char* fen;
    std::initializer_list<const char*> texte;
    const char* zug;
};
using Leser = Zug (*)(Stellung_t&, const Stellungsdaten_t&, const char*);
void faelle(Leser lesen, std::initializer_list<Fall> liste)
{
    for (const Fall& f : liste)
        for (const char* text : f.texte) {
            TestStellung t(f.fen);
            ASSERT_TRUE(t.ok) << f.fen;
            const Zug z = lesen(t.st, t.d, text);
            EXPECT_EQ(z ? zugText(t.st, z) : "0", f.zug) << f.fen << " / '" << text << "'";
        }
}
} // namespace

TEST(Notation, SanReader)
{
    // Nd2 from the start: own piece there. Two knights can reach d2: the file
    // or rank must tell them apart; an illegal candidate (pinned) drops out.
    // Nxe5 with e5 empty, Ne5 onto a piece without the x. Fool's mate: Qh4#
    // only when it mates, Qh4+ only when it checks. Castling needs the right
    // and a legal path. Last, malformed bodies.
    const char* zwei = "4k3/8/8/8/8/5N2/8/1N2K3 w - - 0 1";
    const char* fen = "rnbqkbnr/pppp1ppp/8/8/4p3/5N2/PPPPPPPP/RNBQKB1R w KQkq - 0 1";
    const char* schlagen = "4k3/8/8/4p3/8/5N2/8/4K3 w - - 0 1";
    const char* ep = "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1";
    const char* promo = "8/4P3/8/8/8/8/k7/4K3 w - - 0 1";
    const char* narr = "rnbqkbnr/pppp1ppp/8/4p3/6P1/5P2/PPPPP2P/RNBQKBNR b KQkq - 0 2";
    const char* roch = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1";
    faelle(sanZugLesen,
           {{START, {"Nf3", "Sf3", "Ngf3", "Ng1-f3"}, "g1f3"}, {START, {"e4"}, "e2e4"},
            {START, {"e3!?"}, "e2e3"}, {START, {"e5", "Nd2"}, "0"}, {zwei, {"Nd2"}, "0"},
            {zwei, {"Nbd2"}, "b1d2"}, {zwei, {"N3d2"}, "f3d2"},
            {"4k3/8/8/8/8/5N2/8/rN2K3 w - - 0 1", {"Nd2"}, "f3d2"}, {fen, {"Nxe5"}, "0"},
            {fen, {"Ne5"}, "f3e5"}, {schlagen, {"Ne5", "N-e5"}, "0"}, {schlagen, {"Nxe5"}, "f3e5"},
            {ep, {"exd6", "exd6 e.p.", "exd6e.p."}, "e5d6"}, {ep, {"ed6"}, "0"},
            {"4k3/8/8/3pP3/8/8/8/4K3 w - - 0 1", {"e6 ep"}, "0"},
            {promo, {"e8=Q", "e8Q", "e8=D"}, "e7e8q"}, {promo, {"e8/S"}, "e7e8n"},
            {promo, {"e8"}, "0"}, {narr, {"Qh4#", "Qh4++", "Qh4+"}, "d8h4"},
            {narr, {"Qh4+#", "Qh4!!?", "Qg5#"}, "0"}, {START, {"Nf3+"}, "0"},
            {roch, {"O-O"}, "e1g1"}, {roch, {"0-0-0"}, "e1c1"},
            {"r3k2r/8/8/8/8/8/8/R3K2R w Qkq - 0 1", {"O-O"}, "0"},
            {roch, {"", "N", "Nf", "Nf9", "Zf3", "Nf3xx", "Ng1f3xyz", "xe4", "O-O-O-O"}, "0"}});
}

TEST(Notation, CoordinateReaderAndWriter)
{
    TestStellung t;
    EXPECT_EQ(zugText(t.st, koordinatenZugLesen(t.st, "e2e4")), "e2e4");
    // No piece on e3, a square missing, no such file.
    for (const char* text : {"e3e4", "e2", "z2e4"}) EXPECT_EQ(koordinatenZugLesen(t.st, text), 0u) << text;
    EXPECT_EQ(zugText(t.st, 0), "0000");
    TestStellung p("8/4P3/8/8/8/8/k7/4K3 w - - 0 1");
    for (auto [text, art] :
         {std::pair{"e7e8q", ART_PROMO_DAME}, {"e7e8N", ART_PROMO_SPRINGER}, {"e7e8t", ART_PROMO_TURM}})
        EXPECT_EQ(zugArt(koordinatenZugLesen(p.st, text)), art) << text;
    TestStellung ep("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1");
    EXPECT_EQ(zugArt(koordinatenZugLesen(ep.st, "e5d6")), ART_EP);
    // Castling as the king's move, as O-O words, or as the king taking its rook.
    TestStellung r("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    const Zug kurz = zugBauen(E1, G1, ART_ROCHADE), lang = zugBauen(E1, C1, ART_ROCHADE);
    for (auto [text, zug] : {std::pair{"e1g1", kurz}, {"e1h1", kurz}, {"e1a1", lang}, {"O-O-O", lang}, {"0-0", kurz},
                             {"e1f1", zugBauen(E1, F1, KOENIG)}})
        EXPECT_EQ(koordinatenZugLesen(r.st, text), zug) << text;
    EXPECT_EQ(zugText(r.st, kurz), "e1g1");
    // Chess960 with the king next to its rook: f1g1 is castling.
    TestStellung c("4k3/8/8/8/8/8/8/5KR1 w K - 0 1");
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(koordinatenZugLesen(c.st, "f1g1"), zugBauen(F1, G1, ART_ROCHADE));
    EXPECT_TRUE(zugLegal(c.st, c.d, zugBauen(F1, G1, ART_ROCHADE)));
}

// Moves in files: coordinates only in their exact shapes (the coordinate
// reader alone would ignore trailing junk), castling words, SAN otherwise;
// only legal moves.
TEST(Notation, MoveTextOfFiles)
{
    const char* roch = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1";
    const char* bauer = "4k3/P7/8/8/8/8/8/4K3 w - - 0 1";
    faelle(zugTextLesen, {
        {START, {"e2e4", " e2e4", "e4", "e2-e4"}, "e2e4"},
        {START, {"g1f3", "Sf3", "Nf3"}, "g1f3"},
        {START, {"e2e4x", "e2e5", "e7e5", "e2", "", "O-O", "g1f3q"}, "0"},
        {roch, {"O-O", "0-0", "o-o", "e1g1"}, "e1g1"},
        {roch, {"O-O-O", "0-0-0", "o-o-o", "e1c1"}, "e1c1"},
        {bauer, {"a7a8q", "a7a8Q", "a8=Q", "a8D"}, "a7a8q"},
        {bauer, {"a7a8", "a7a8k"}, "0"},
    });
}
