#include "../test_hilfen.h"
#include "chess/keys.h"
#include "chess/zugdaten.h"
#include "chess/zugmachen.h"

TEST(Board, BitOperationsAndTheFixedKeyTable)
{
    for (int sq = 0; sq < 64; ++sq) ASSERT_EQ(std::pair(lsb(bit(sq) | bit(63)), popcount(bit(sq) | bit(0))), std::pair(sq, sq ? 2 : 1));
    EXPECT_EQ(popcount(~0ull), 64);

    EXPECT_EQ(figurSchluessel(WEISS, BAUER, 0), 0x304E509D6460B6F6ull);
    EXPECT_EQ(materialZuwachs(SCHWARZ, DAME), 0x1561F46E803A8B43ull);
    for (int sq = 0; sq < 64; ++sq) EXPECT_EQ(epSchluessel(sq) != 0, rowOf(sq) == 2 || rowOf(sq) == 5) << sq;
    // Every value is fixed for ever (books store keys): pin them all.
    uint64_t summe = 0;
    for (int i = 0; i < 976; ++i) summe = summe * 31 + SCHLUESSEL[i];
    EXPECT_EQ(summe, 0xa8e58443d2cb229dull) << std::hex << summe;
}

TEST(Board, SliderAttacksMatchAStepwiseScanEverywhere)
{
    EXPECT_EQ(popcount(turmAngriffe(A1, 0)), 14);
    EXPECT_EQ(turmAngriffe(A1, bit(A4)) & fileMask(0), bit(A2) | bit(A3) | bit(A4));
    // Random occupancies against a naive ray walk.
    Xorshift zufall{0x1234567};
    for (int i = 0; i < 2000; ++i) {
        const uint64_t x = zufall();
        Bitboard belegt = x & (x >> 3);
        int sq = i % 64;
        Bitboard turm = 0, laeufer = 0;
        const int r[8][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {1, -1}, {-1, 1}, {-1, -1}};
        for (int d = 0; d < 8; ++d) {
            int zr = rowOf(sq) + r[d][0], zf = fileOf(sq) + r[d][1];
            while (zr >= 0 && zr < 8 && zf >= 0 && zf < 8) {
                (d < 4 ? turm : laeufer) |= bit(squareAt(zr, zf));
                if (belegt & bit(squareAt(zr, zf))) break;
                zr += r[d][0], zf += r[d][1];
            }
        }
        ASSERT_EQ(turmAngriffe(sq, belegt), turm) << sq;
        ASSERT_EQ(laeuferAngriffe(sq, belegt), laeufer) << sq;
    }
    EXPECT_EQ(AT.zwischen[A1][H8], bit(B2) | bit(C3) | bit(D4) | bit(E5) | bit(F6) | bit(G7));
    EXPECT_EQ(AT.linieDurch[C3][E5], AT.zwischen[A1][H8] | bit(A1) | bit(H8));
    EXPECT_EQ(AT.zwischen[A1][B3], 0u);
}

namespace {
int klasse(const Stellung_t& st) { return laeuferKlasse(st.seite[WEISS].bb[LAEUFER], st.seite[SCHWARZ].bb[LAEUFER]); }
// The material key's bit for bishops on opposite colours.
bool ungleich(const Stellungsdaten_t& d) { return d.materialSchluessel & (1ull << 29); }
} // namespace

TEST(Board, OppositeBishopsTermFollowsCapturesAndPromotions)
{
    // White bishops on light squares (b1, d1), black bishop on a dark one
    // (c5): class 1, the key's opposite-bishops bit set. A second,
    // dark-squared white bishop (c1) makes it class 3.
    for (auto [fen, k, bit29] : {std::tuple{"4k3/8/8/2b5/8/8/8/1B1BK3 w - - 0 1", 1, true},
                                 {"4k3/8/8/2b5/8/8/8/1BBBK3 w - - 0 1", 3, false}}) {
        const TestStellung t(fen);
        ASSERT_TRUE(t.ok) << fen;
        EXPECT_EQ(std::tuple(klasse(t.st), ungleich(t.d)), std::tuple(k, bit29)) << fen;
    }
    // Black has bishops of both colours; taking the light one leaves
    // opposite colours, and the incremental key follows.
    TestStellung w("4k3/8/8/2b2b2/8/8/8/1B2K3 w - - 0 1");
    EXPECT_FALSE(ungleich(w.d));
    Stellungsdaten_t kind;
    Zugdaten_t zd;
    ASSERT_TRUE(zugMachenSuche(w.st, zugBauen(B1, F5, LAEUFER), kind, w.d, zd));
    EXPECT_TRUE(ungleich(kind));
    EXPECT_EQ(kind.materialSchluessel, materialSchluesselBerechnen(w.st));
    zugZuruecknehmen(zd);
    // Promoting to a bishop changes the class as well.
    TestStellung v("1n2k3/P7/8/2b5/8/8/8/4K3 w - - 0 1");
    for (Zug z : {zugBauen(A7, A8, ART_PROMO_LAEUFER), zugBauen(A7, B8, ART_PROMO_LAEUFER)}) {
        ASSERT_TRUE(zugMachenSuche(v.st, z, kind, v.d, zd));
        EXPECT_EQ(kind.materialSchluessel, materialSchluesselBerechnen(v.st));
        EXPECT_EQ(ungleich(kind), klasse(v.st) == 1);
        zugZuruecknehmen(zd);
    }
}

TEST(Board, MirroredPositionHasMirroredKeysAndAttacks)
{
    TestStellung t("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1");
    Stellung_t m;
    spiegeln(t.st, m);
    Stellungsdaten_t md;
    datenBerechnen(m, md);
    EXPECT_EQ(fenText(m), "r3k2r/pppbbppp/2n2q1P/1P2p3/3pn3/BN2PNP1/P1PPQPB1/R3K2R b KQkq -");
    EXPECT_TRUE(invariantenPruefen(m, &md));
    for (int s = 0; s < 2; ++s) {
        const Angriffe_t &a = t.d.angriffe[s], &b = md.angriffe[s ^ 1];
        EXPECT_EQ(std::tuple(b.angegriffen, b.doppelt, b.bedroht),
                  std::tuple(__builtin_bswap64(a.angegriffen), __builtin_bswap64(a.doppelt), __builtin_bswap64(a.bedroht)));
    }
}

TEST(Board, AttackRecordsSeeBatteriesPinsAndThreats)
{
    // White: queen e1 behind rook e2 on the e-file, bishop b5 pins the d7 knight.
    TestStellung t("4k3/3n4/8/1B6/8/8/4R3/4Q1K1 b - - 0 1");
    const Angriffe_t& gegenSchwarz = t.d.angriffe[SCHWARZ];
    EXPECT_TRUE(gegenSchwarz.doppelt & bit(E5));     // rook and the queen behind it
    EXPECT_TRUE(gegenSchwarz.gefesselt & bit(D7));   // knight pinned against e8
    EXPECT_FALSE(t.d.angriffe[WEISS].gefesselt);
    // Rook e4 and knight c4 both attacked by the pawn d5.
    TestStellung u("7k/8/8/3p4/2N1R3/8/8/4K3 w - - 0 1");
    ASSERT_TRUE(u.ok);
    EXPECT_EQ(u.d.angriffe[WEISS].bedroht & felder({E4, C4}), felder({E4, C4}));
    EXPECT_TRUE(u.d.angriffe[WEISS].bauern & bit(E4));
}

TEST(GameRules, RepetitionFiftyMovesAndInsufficientMaterial)
{
    // The knights out and back once and twice; a pawn move starts a new
    // history.
    const std::string runde = "g1f3 g8f6 f3g1 f6g8";
    for (auto [zuege, remis] :
         {std::pair{runde, REMIS_WIEDERHOLUNG}, {runde + " " + runde, REMIS_WIEDERHOLUNG_2}}) {
        const TestStellung t = stellungNach(nullptr, zuege);
        ASSERT_TRUE(t.ok);
        EXPECT_EQ(remisTest(t.st, t.d.schluessel, false), remis) << zuege;
    }
    EXPECT_EQ(stellungNach(nullptr, runde + " " + runde + " e2e4").st.historieLaenge, 1u);

    // The history stops growing at 101 entries; the fifty-move code follows.
    const char* fuenfzig = "4k3/8/8/8/8/8/8/R3K3 w - - 99 80";
    EXPECT_EQ(TestStellung(fuenfzig).st.historieLaenge, 100u);
    const TestStellung f = stellungNach(fuenfzig, "a1a2");
    ASSERT_TRUE(f.ok);
    EXPECT_EQ(f.st.historieLaenge, 101u);
    EXPECT_EQ(remisTest(f.st, f.d.schluessel, true), REMIS_FUENFZIG);
    EXPECT_EQ(remisTest(f.st, f.d.schluessel, false), REMIS_KEINS);
    const TestStellung g = stellungNach(fuenfzig, "a1a2 e8d8");
    EXPECT_EQ(std::tuple(g.ok, g.st.historieLaenge), std::tuple(true, 101u));
    EXPECT_EQ(TestStellung("4k3/8/8/8/8/8/8/R3K3 w - - 100 80").st.historieLaenge, 1u);

    // Bishops on the same colour cannot mate, on opposite colours they can.
    for (auto [fen, ungenuegend] :
         {std::pair{"4k3/8/8/8/8/8/8/2B1K3 w - - 0 1", true}, {"4k3/8/8/8/8/8/8/4K1N1 w - - 0 1", true},
          {"2b1k3/8/8/8/8/8/8/3BK3 w - - 0 1", true}, {"3bk3/8/8/8/8/8/8/3BK3 w - - 0 1", false},
          {"4k3/8/8/8/8/8/8/3NK1N1 w - - 0 1", false}})
        EXPECT_EQ(materialUngenuegend(TestStellung(fen).st), ungenuegend) << fen;
    EXPECT_EQ(remisTest(TestStellung("2b1k3/8/8/8/8/8/8/3BK3 w - - 0 1").st, 0, false), REMIS_MATERIAL);
}

// A shown line ends with the first move that brings back a position: one
// of the game's (its history, or the position itself) or one of the line's.
TEST(GameRules, LinesEndAtTheFirstRepeatedPosition)
{
    TestStellung t;
    t.st.historie[0] = 11, t.st.historie[1] = 12, t.st.historie[2] = 13;
    const uint64_t wurzel = 13;
    const struct {
        std::vector<uint64_t> linie;
        int laenge;
        uint32_t historie = 3; // entries of the game's history in use
    } faelle[] = {
        {{}, 0},
        {{21, 22, 23, 24}, 4},
        {{21, 12, 23}, 2},     // a position of the game
        {{13, 22}, 1},         // the game's current position
        {{21, 22, 21, 24}, 3}, // the line's own
        {{21, 22, 23, 22, 11}, 4},
        // Without a history entry for it, the position itself still counts.
        {{21, 13}, 2, 1},
    };
    for (const auto& f : faelle) {
        t.st.historieLaenge = f.historie;
        EXPECT_EQ(varianteBisWiederholung(t.st, wurzel, f.linie.data(), int(f.linie.size())), f.laenge)
            << f.linie.size() << " moves, history " << f.historie;
    }
}

TEST(GameRules, CastlingRightsFollowRookMovesAndCaptures)
{
    TestStellung t("r3k2r/8/8/8/8/8/6b1/R3K2R b KQkq - 0 1");
    Stellungsdaten_t kind;
    Zugdaten_t zd;
    ASSERT_TRUE(zugMachenSuche(t.st, zugBauen(G2, H1, LAEUFER), kind, t.d, zd));
    EXPECT_EQ(t.st.rochade, RECHT_WEISS_LANG | RECHT_SCHWARZ_KURZ | RECHT_SCHWARZ_LANG);
    EXPECT_EQ(kind.schluessel, schluesselBerechnen(t.st));
    zugZuruecknehmen(zd);
    EXPECT_EQ(t.st.rochade, 15);
    // A Chess960 rook that is not a castling rook keeps the rights.
    TestStellung c("1r2k1r1/8/8/8/8/8/8/1RR1K1R1 w GBgb - 0 1");
    ASSERT_TRUE(c.ok);
    ASSERT_TRUE(zugMachenSuche(c.st, zugBauen(C1, C2, TURM), kind, c.d, zd));
    EXPECT_EQ(c.st.rochade, 15);
}

TEST(GameRules, InvariantCheckNoticesCorruption)
{
    TestStellung t;
    EXPECT_TRUE(invariantenPruefen(t.st, &t.d));
    Stellung_t kaputt = t.st;
    kaputt.seite[WEISS].liste[SPRINGER - 1][0] = C3;
    EXPECT_FALSE(invariantenPruefen(kaputt, &t.d));
    Stellungsdaten_t falsch = t.d;
    falsch.schluessel ^= 1;
    EXPECT_FALSE(invariantenPruefen(t.st, &falsch));
}
