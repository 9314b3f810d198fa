#include "eval/koenigssicherheit.h"
#include "eval/eval.h"
#include "eval/mobilitaet.h"
#include "eval/remis_skalierung.h"
#include "eval/statisch.h"
#include "speicher_zaehler.h"
#include "../test_hilfen.h"

namespace {

using Pos = TestStellung;

struct Tabellen {
    std::unique_ptr<MaterialTable> mt = std::make_unique<MaterialTable>();
    std::unique_ptr<PawnTable> pt = std::make_unique<PawnTable>();
};

Pos setzen(const char* fen)
{
    Pos t(fen);
    EXPECT_TRUE(t.ok) << (fen ? fen : "startpos");
    return t;
}

Pos gespiegelt(const Pos& p)
{
    Pos m;
    spiegeln(p.st, m.st);
    datenBerechnen(m.st, m.d);
    return m;
}

int32_t bewerte(const Pos& p, Tabellen& t) { return evaluate(p.st, p.d, *t.mt, *t.pt); }

Bewertungsteile_t teile(const Pos& p)
{
    Tabellen t;
    Bewertungsteile_t b;
    bewertungsteile(p.st, p.d, *t.mt, *t.pt, b);
    return b;
}

const std::vector<Pos>& testStellungen()
{
    static std::vector<Pos> alle = [] {
        std::vector<Pos> v;
        std::ifstream datei(testDaten("eval_positions.epd"));
        for (std::string zeile; std::getline(datei, zeile);)
            if (!zeile.empty()) v.push_back(setzen(zeile.c_str()));
        return v;
    }();
    return alle;
}

} // namespace

TEST(Bewertung, StartPositionIsWorthTheTempoForEitherSide)
{
    Tabellen t;
    EXPECT_EQ(bewerte(setzen(nullptr), t), 68);
    EXPECT_EQ(bewerte(setzen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1"), t), 68);
}

// Over a few hundred positions: the colour-mirrored twin scores the same;
// scores do not depend on what the caches hold (a warm table read
// backwards, a fresh one); a recogniser verdict replaces or adjusts the
// evaluation; and nothing is allocated.
TEST(Bewertung, EveryPositionMirroredCachedRecognisedWithoutAllocation)
{
    const auto& alle = testStellungen();
    ASSERT_GE(alle.size(), 300u);
    Tabellen t;
    std::vector<int32_t> vorwaerts;
    for (const Pos& p : alle) {
        const Pos m = gespiegelt(p);
        vorwaerts.push_back(bewerte(p, t));
        ASSERT_EQ(vorwaerts.back(), bewerte(m, t)) << fenText(p.st) << " / " << fenText(m.st);
        const int32_t s = statischeBewertung(p.st, p.d, *t.mt, *t.pt);
        ASSERT_EQ(s, statischeBewertung(m.st, m.d, *t.mt, *t.pt)) << fenText(p.st);
        const Endspielurteil_t u = endspielErkennen(p.st);
        EXPECT_EQ(s, u.art == 2 ? u.wert : vorwaerts.back() + (u.art == 1 ? u.wert : 0)) << fenText(p.st);
    }
    for (size_t i = alle.size(); i-- > 0;) {
        Tabellen frisch;
        ASSERT_EQ(bewerte(alle[i], t), vorwaerts[i]) << fenText(alle[i].st);
        ASSERT_EQ(bewerte(alle[i], frisch), vorwaerts[i]) << fenText(alle[i].st);
    }
    const uint64_t vorher = g_anforderungen.load();
    for (const Pos& p : alle) statischeBewertung(p.st, p.d, *t.mt, *t.pt);
    EXPECT_EQ(g_anforderungen.load(), vorher);
}

TEST(Bewertung, LonePassedPawnRacingAFarKing)
{
    // White Kh1 and pawn a4 against Kh8, phase 0. Pawn entry (-17, 183):
    // square value, isolated edge file, passed pawn. King term 739: both
    // kings equally placed, the a5 stop square far from either king (-76
    // each), and the race: one passer (253), the black king outside the
    // pawn's square with White to move (284), the pawn on the 4th rank
    // (101 x 2). Balance 1083 - 27.
    const Pos p = setzen("7k/8/8/8/P7/8/8/7K w - - 0 1");
    const Bewertungsteile_t b = teile(p);
    EXPECT_EQ(std::tuple(b.phase, b.bilanz, b.bauern, b.koenigEndspiel, b.koenigssicherheit),
              std::tuple(0, 1056, S(-17, 183), 739, 0));
    // Endgame half 183 + 739 + 35 (tempo), plus the balance once more.
    Tabellen t;
    EXPECT_EQ(bewerte(p, t), 183 + 739 + 35 + 1056);
    // With Black to move the race bonus drops to 169 and the tempo changes sides.
    EXPECT_EQ(bewerte(setzen("7k/8/8/8/P7/8/8/7K b - - 0 1"), t), -(183 + 739 - 284 + 169 - 35 + 1056));
}

TEST(Bewertung, BigMaterialLeadDoesNotWrapTheMiddlegameHalf)
{
    // Two queens and the whole army against a bare king: the middlegame
    // half (balance 44790 - 506 plus the other terms) is far beyond 16
    // bits. It must still count in full, and a queen more must still be
    // worth more than a queen less.
    const Bewertungsteile_t b = teile(setzen("4k3/8/8/8/8/3Q4/PPPPPPP1/RNBQKBNR w KQ - 0 1"));
    EXPECT_EQ(std::pair(b.bilanz, b.phase), std::pair(44790 - 506, 256));
    EXPECT_EQ(b.gemischt, b.summe.mg() + 2 * b.bilanz);
    EXPECT_GT(b.ergebnis, teile(setzen("4k3/8/8/8/8/8/PPPPPPP1/RNBQKBNR w KQ - 0 1")).ergebnis);
}

TEST(Bewertung, PieceTermsAndMobility)
{
    // Rd7 on the 7th with a black pawn there and the black king on the 8th
    // (136, 44 + 22 + 88); a7 is attacked and undefended (97, 93).
    EXPECT_EQ(teile(setzen("6k1/p2R4/8/8/8/8/8/6K1 w - - 0 1")).figurenBauern, S(136 + 97, 44 + 22 + 88 + 93));
    // Against the black queen the white king has no pawn beside it
    // (-166, -350), and the rook pins the knight to it (-111, -247).
    EXPECT_EQ(teile(setzen("q3k3/4r3/8/8/8/8/4N3/4K3 w - - 0 1")).figurenBauern, S(-166 - 111, -350 - 247));

    // Knight d4: all eight targets safe, weights 1+1+1+2+1+2+2+2 = 12, plus
    // its square value (12, -1).
    Bewertungsteile_t n = teile(setzen("4k3/8/8/8/3N4/8/8/4K3 w - - 0 1"));
    EXPECT_EQ(std::pair(n.mobilitaet[WEISS], n.mobilitaet[SCHWARZ]), std::pair(S(299 + 12, 180 - 1), S(0, 0)));
    EXPECT_EQ(n.angriffszaehler[WEISS], 0);
    // Rook a1 sees a2-a8 and b1-d1 (ten squares); while White may still
    // castle, b1 and a2 do not count.
    EXPECT_EQ(teile(setzen("4k3/8/8/8/8/8/8/R3K3 w - - 0 1")).mobilitaet[WEISS], S(209, 172));
    EXPECT_EQ(teile(setzen("4k3/8/8/8/8/8/8/R3K3 w Q - 0 1")).mobilitaet[WEISS], S(149, 123));
    // Queen d1: eighteen squares, less the own king's and the two the black
    // king covers (d7, d8).
    EXPECT_EQ(teile(setzen("4k3/8/8/8/8/8/8/3QK3 w - - 0 1")).mobilitaet[WEISS], S(260, 215));
    // Squares next to the king are covered by the king itself: a knight
    // counts for the attack (34) only where White attacks twice, here e7
    // with the pawn d6, which counts too (48).
    EXPECT_EQ(teile(setzen("4k3/8/3P4/5N2/8/8/8/4K3 w - - 0 1")).angriffszaehler[WEISS], 48 + 34);
    EXPECT_EQ(teile(setzen("4k3/8/3PN3/8/8/8/8/4K3 w - - 0 1")).angriffszaehler[WEISS], 48);
}

TEST(Bewertung, OppositeBishopsScaleTowardsADraw)
{
    // Kings and opposite-coloured bishops, no passed pawn: f = 112, so a
    // score within a pawn keeps 144/256 of itself.
    const Bewertungsteile_t b = teile(setzen("8/4k3/3p4/8/8/4P3/3K4/2B2b2 w - - 0 1"));
    ASSERT_LE(std::abs(b.gemischt), 1000);
    EXPECT_EQ(b.ergebnis, b.gemischt - (b.gemischt * 112) / 256);

    // Two white passers far apart: f = 112 - 13, and the score above a pawn
    // is compressed first.
    const Bewertungsteile_t z = teile(setzen("8/8/4k3/8/8/8/P3K2P/2B2b2 w - - 0 1"));
    ASSERT_GT(z.gemischt, 1000);
    EXPECT_EQ(z.ergebnis, z.gemischt - (komprimiert(z.gemischt) * 99) / 256);
    for (auto [wert, kurz] :
         {std::pair{1000, 1000}, {2000, 1250}, {6000, 2250 / 2 + 1000}, {-6000, -2250 / 2 - 1000}})
        EXPECT_EQ(komprimiert(wert), kurz) << wert;

    // Rooks beside the opposite bishops: f = 16.
    const Bewertungsteile_t r = teile(setzen("r7/4k3/3p4/8/8/4P3/3K4/R1B2b2 w - - 0 1"));
    EXPECT_EQ(r.ergebnis, r.gemischt - (komprimiert(r.gemischt) * 16) / 256);
}

TEST(Bewertung, PawnlessSideNeedsMoreThanASmallAdvantage)
{
    // Knight and bishop against two pawns: still ahead after losing 1300.
    const Bewertungsteile_t a = teile(setzen("4k3/pp6/8/8/8/8/8/2B1K1N1 w - - 0 1"));
    ASSERT_GT(a.gemischt, 1300);
    EXPECT_EQ(a.ergebnis, a.gemischt - 1300);
    // A knight against two pawns: not enough, one unit for the pawns.
    const Bewertungsteile_t b = teile(setzen("4k3/pp6/8/8/8/8/8/4K1N1 w - - 0 1"));
    ASSERT_GE(b.gemischt, 0);
    ASSERT_LT(b.gemischt, 1300);
    EXPECT_EQ(b.ergebnis, -1);
    // The side with pawns ahead keeps its score.
    const Bewertungsteile_t c = teile(setzen("4k3/pp6/8/8/8/8/8/4K3 w - - 0 1"));
    EXPECT_EQ(c.ergebnis, c.gemischt);
}

TEST(Bewertung, PawnEntryDependsOnPawnsOnly)
{
    // Same pawns, different pieces: the second position finds the first one's
    // pawn entry and must score as if its own had been computed.
    const Pos a = setzen("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3");
    const Pos b = setzen("rnbqk2r/pppp1ppp/5n2/2b1p3/4P3/2N5/PPPP1PPP/R1BQKBNR w KQkq - 4 4");
    ASSERT_EQ(a.d.bauernSchluessel, b.d.bauernSchluessel);
    Tabellen warm, frisch;
    bewerte(a, warm);
    const PawnEntry* vorher = &warm.pt->eintrag[a.d.bauernSchluessel % PawnTable::GROESSE];
    const PawnEntry kopie = *vorher;
    EXPECT_EQ(bewerte(b, warm), bewerte(b, frisch));
    EXPECT_EQ(std::tuple(vorher->wert, vorher->vorposten[WEISS], vorher->schwach),
              std::tuple(kopie.wert, kopie.vorposten[WEISS], kopie.schwach));
    // Another key in the same slot replaces the entry; a fresh table has no
    // entry even for the pawnless key 0.
    EXPECT_EQ(bauernEintrag(*warm.pt, a.d.bauernSchluessel + PawnTable::GROESSE, 0, 0).freibauern, 0u);
    EXPECT_EQ(bauernEintrag(*std::make_unique<PawnTable>(), 0, 0, 0).fang[WEISS], ~Bitboard(0));
}

TEST(Bewertung, ShelterAndTrappedBishop)
{
    EXPECT_EQ(kingShelter<WEISS>(G1, felder({F2, G2, H2})), 1);
    EXPECT_EQ(kingShelter<WEISS>(G1, felder({F2, G3, H2})), 1);
    EXPECT_EQ(kingShelter<WEISS>(G1, felder({F2, G4, H2})), -79);  // g4 is too far
    EXPECT_EQ(kingShelter<WEISS>(G1, felder({F2, H2})), -79);
    EXPECT_EQ(kingShelter<WEISS>(G1, 0), -139);
    EXPECT_EQ(kingShelter<WEISS>(G1, felder({F7, G7, H7})), -139); // behind nothing
    EXPECT_EQ(kingShelter<WEISS>(A1, felder({A2, B2})), -74);     // no file left of a
    EXPECT_EQ(kingShelter<SCHWARZ>(G8, felder({F7, G6, H7})), 1);
    EXPECT_EQ(kingShelter<SCHWARZ>(G8, felder({F2, G2, H2})), -139);

    // Bxa7 b6 (or Bxh7 g6) with the pawn covered: the bishop is shut in the
    // corner and scores worse than the same bishop in play.
    const std::pair<const char*, const char*> faelle[] = {
        {"4k2r/B1p5/1p6/8/8/8/PP6/4K2R w - - 0 1", "4k2r/2p5/1p6/8/8/4B3/PP6/4K2R w - - 0 1"},
        {"r3k3/5p1B/6p1/8/8/8/6PP/R3K3 w - - 0 1", "r3k3/5p2/6p1/8/8/3B4/6PP/R3K3 w - - 0 1"},
        {"1B1k3r/2p5/1p6/8/8/8/PP6/4K2R w - - 0 1", "3k3r/2p5/1p6/8/8/4B3/PP6/4K2R w - - 0 1"},
    };
    Tabellen t;
    for (const auto& [gefangen, frei] : faelle) {
        EXPECT_LT(bewerte(setzen(gefangen), t), bewerte(setzen(frei), t)) << gefangen;
        EXPECT_LT(bewerte(gespiegelt(setzen(gefangen)), t), bewerte(gespiegelt(setzen(frei)), t)) << gefangen;
    }
}

TEST(Bewertung, KingDangerWeighsWithTheAttackersMaterial)
{
    // The white king stands bare before queen and rook, the black king sits
    // behind its pawns. The danger to a king grows with the material its
    // attacker keeps: all material on Black's side must cost White far more
    // than the same material on White's side.
    const Pos p = setzen("6k1/5ppp/8/8/8/7q/P3r3/6K1 w - - 0 1");
    const int32_t zw = mobilitaet<WEISS>(p.st, p.d).koenigsangriff;
    const int32_t zs = mobilitaet<SCHWARZ>(p.st, p.d).koenigsangriff;
    MaterialEntry schwarzReich{}, weissReich{};
    schwarzReich.summe[WEISS] = weissReich.summe[SCHWARZ] = 5000;
    schwarzReich.summe[SCHWARZ] = weissReich.summe[WEISS] = 30600;
    const int32_t angreiferReich = koenigssicherheit(p.st, p.d, schwarzReich, zw, zs);
    const int32_t verteidigerReich = koenigssicherheit(p.st, p.d, weissReich, zw, zs);
    EXPECT_LT(angreiferReich, -500);
    EXPECT_LT(angreiferReich + 300, verteidigerReich);
}
