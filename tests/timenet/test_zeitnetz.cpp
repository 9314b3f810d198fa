#include "../test_hilfen.h"

#include "timenet/zeitmerkmale.h"
#include "timenet/zeitnetz.h"
#include "timenet/zeitprotokoll.h"

namespace fs = std::filesystem;

namespace {

// An iteration and its predecessor whose features are worked out below.
const Iterationsdaten_t JETZT = {.gewechselt = {1, 0, 1}, .taktisch = 1, .wurzelZuege = 33, .bedroht = 3,
                                 .knotenBester = 200000, .knotenAndere1 = 70001, .knotenAndere2 = 20000,
                                 .knotenGesamt = 300007, .hauptvariante = {10, 20, 30, 40}, .bewertung = 35};
const Iterationsdaten_t VORHER = {.knotenGesamt = 100003, .hauptvariante = {11, 20, 31, 20}, .bewertung = -20};

} // namespace

// Expected outputs computed independently from the weight table:
// y = b5 + sum_j v_j tanh(b_j + sum_i x_i w_ij).
TEST(Zeitnetz, BuiltInNetworkOnHandCheckedFeatures)
{
    Zeitnetz_t netz;
    ASSERT_TRUE(netz.istFertig());
    EXPECT_EQ(netz.verbindungen(), 91);
    // Inputs in order, the bias, then the inner nodes.
    const auto w = netz.gewichte();
    ASSERT_EQ(w.size(), 91u);
    EXPECT_EQ(std::tuple(w[0], w[79], w[80], w[90]), std::tuple(0.6275836333, -13.22039679, -2.229986814, -0.04761059726));

    Zeitmerkmale_t null{};
    EXPECT_NEAR(netz.bewerten(null), 0.16621627894010835, 1e-13);
    Zeitmerkmale_t typisch = {0, 1, 0, 1, 1, 0, 0, 0, 1, 0.75, 0.5, 0.25, 0.6, 0.2, 0.1, -0.05};
    EXPECT_NEAR(netz.bewerten(typisch), 0.1479370617652768, 1e-13);
    // Changed best move: two inner nodes saturate through the -19.9999999 weights.
    Zeitmerkmale_t wechsel = {1, 1, 1, 0, 0, 0, 0, 1, 0, 0.1, 1.5, 0.3, 0.9, 0.05, 0.01, 0.5};
    EXPECT_NEAR(netz.bewerten(wechsel), 0.06543537358271473, 1e-13);
}

TEST(Zeitnetz, TrainableFormIsEmptyAndClampsItsSize)
{
    Zeitnetz_t netz(7);
    EXPECT_EQ(netz.verbindungen(), 16 * 7 + 7 + 8);
    for (double w : netz.gewichte()) EXPECT_EQ(w, 0.0);
    Zeitmerkmale_t m{};
    m.fill(0.5);
    EXPECT_EQ(netz.bewerten(m), 0.0);
    EXPECT_EQ(Zeitnetz_t(0).verbindungen(), 16 + 1 + 2);
    EXPECT_EQ(Zeitnetz_t(1 << 30).verbindungen(), 18 * Zeitnetz_t::MAX_INNEN + 1);
}

TEST(Zeitnetz, FeaturesAreComputedAndRoundedToSixDigitsBeforeTheNetSeesThem)
{
    Zeitmerkmale_t m;
    zeitMerkmaleBerechnen(JETZT, VORHER, m);
    // Second PV moves agree, third ones differ, this second = previous fourth,
    // previous second != this fourth.
    const double erwartet[16] = {1, 0, 1, 1, 0, 1, 0, 0, 1, 0.825, 1.5, 100003.0 / 400010.0,
                                 200000.0 / 300007.0, 70001.0 / 300007.0, 20000.0 / 300007.0, 0.0};
    for (int i = 0; i < 15; ++i) EXPECT_DOUBLE_EQ(m[i], erwartet[i]) << i;
    // 15 * (P(35) - P(-20)), P(s) = 1 / (1 + 10^(-s * 110 / 1000 / 400))
    EXPECT_NEAR(m[15], 0.1305957119703774, 1e-12);

    const std::string text = zeitMerkmaleText(m);
    EXPECT_EQ(text, "1 0 1 1 0 1 0 0 1 0.825 1.5 0.250001 0.666651 0.233331 0.0666651 0.130596 ");
    Zeitmerkmale_t zurueck;
    ASSERT_TRUE(zeitMerkmaleLesen(text, zurueck));
    EXPECT_EQ(zurueck[11], 0.250001);

    Zeitnetz_t netz;
    std::string zeile;
    double y = netz.iterationBewerten(JETZT, VORHER, &zeile);
    EXPECT_EQ(zeile, text);
    EXPECT_NEAR(y, 0.13646205483096124, 1e-13);        // from the rounded values
    EXPECT_GT(std::fabs(y - 0.13646200130333902), 1e-8); // not the unrounded ones
    EXPECT_FALSE(zeitMerkmaleLesen("1 2 3", zurueck));
}

TEST(Zeitnetz, NodeShareFeaturesSurviveAnIterationWithoutNodes)
{
    Iterationsdaten_t jetzt{}, vorher{};
    vorher.knotenGesamt = 4;
    Zeitmerkmale_t m;
    zeitMerkmaleBerechnen(jetzt, vorher, m);
    EXPECT_DOUBLE_EQ(m[11], 4.0 / 5.0); // this total taken as 1
    // Missing moves (0) compare equal.
    EXPECT_EQ(std::tuple(m[12], m[15], m[3]), std::tuple(0.0, 0.0, 1.0));
}

TEST(Zeitmerkmale, ThreatenedOpponentPieces)
{
    const std::pair<const char*, int> faelle[] = {
        {nullptr, 0},                                      // start position
        {"4k3/8/8/3n4/8/8/8/3RK3 w - - 0 1", 1},           // a rook attacks an undefended knight
        {"4k3/8/4p3/3n4/4P3/8/8/4K3 w - - 0 1", 1},        // defended, but attacked by a lesser piece
        {"4k3/8/4p3/3n4/8/4N3/8/4K3 w - - 0 1", 0},        // defended, attacked by an equal piece
        {"4k3/8/8/3n4/4P3/8/8/4K3 w - - 0 1", 1},          // undefended and attacked by a pawn: once
        {"4k3/8/8/8/3N4/4p3/3r1R2/6K1 b - - 0 1", 2},      // Black to move
        {"4k3/8/8/1p1p4/8/2N5/8/4K3 w - - 0 1", 2},        // undefended pawns count too
    };
    for (const auto& [fen, n] : faelle) {
        TestStellung t(fen);
        ASSERT_TRUE(t.ok) << fen;
        EXPECT_EQ(bedrohteFiguren(t.st, t.d), n) << (fen ? fen : "start");
    }
    // The king counts whenever it is attacked, even on a "defended" square
    // (looked at with the attacker to move).
    TestStellung t("4k2r/8/8/8/8/8/8/4R1K1 b - - 0 1");
    t.st.amZug = WEISS;
    datenBerechnen(t.st, t.d);
    EXPECT_EQ(bedrohteFiguren(t.st, t.d), 1);
}

TEST(Zeitmerkmale, TacticalMoves)
{
    TestStellung t("4k3/1P6/8/3n4/4P3/8/8/4K2R w K - 0 1");
    ASSERT_TRUE(t.ok);
    EXPECT_TRUE(zugIstTaktisch(t.st, zugBauen(E4, D5, BAUER)));              // capture
    EXPECT_FALSE(zugIstTaktisch(t.st, zugBauen(E4, E5, BAUER)));             // quiet
    EXPECT_TRUE(zugIstTaktisch(t.st, zugBauen(B7, B8, ART_PROMO_SPRINGER))); // promotion
    EXPECT_TRUE(zugIstTaktisch(t.st, zugBauen(E4, D3, ART_EP)));             // kind counts
    EXPECT_FALSE(zugIstTaktisch(t.st, zugBauen(E1, G1, ART_ROCHADE)));
}

TEST(Zeitprotokoll, LinesAreFinishedByTheNextIterationAndAppendedAtTheEnd)
{
    TestVerzeichnis v;
    const std::string datei = v.datei("zeit log.txt");

    Zeitprotokoll_t log;
    log.beginnen(datei);
    ASSERT_TRUE(log.aktiv());
    const std::string a = "a ", b = "b ", c = "c ";
    log.iteration(false, nullptr, 0.08, 100);   // no features yet
    log.iteration(true, &a, 0.25, 29999);       // too few nodes: no line
    log.iteration(false, &b, 0.125, 30000);     // enters
    log.iteration(true, &c, 0.5, 90000);        // finishes b with 1; c waits
    log.iteration(false, nullptr, 0.08, 95000); // finishes c with 0
    log.iteration(true, &a, 0.3, 99000);        // last line: never finished
    EXPECT_EQ(log.fertigeZeilen(), (std::vector<std::string>{"b 0.125 1", "c 0.5 0"}));
    EXPECT_FALSE(fs::exists(datei)); // nothing written during the search
    log.beenden();
    EXPECT_EQ(zeilenAus(dateiText(datei)), (std::vector<std::string>{"b 0.125 1", "c 0.5 0"}));

    log.beginnen(datei); // a second search appends
    log.iteration(false, &a, 0.1, 40000);
    log.iteration(false, &b, 0.2, 80000);
    log.beenden();
    EXPECT_EQ(zeilenAus(dateiText(datei)), (std::vector<std::string>{"b 0.125 1", "c 0.5 0", "a 0.1 0"}));

    // A file that cannot be opened is skipped silently.
    log.beginnen(v.datei("fehlt/x.txt"));
    log.iteration(false, &a, 0.1, 40000);
    log.iteration(false, &b, 0.2, 80000);
    log.beenden();
    EXPECT_FALSE(fs::exists(v.datei("fehlt")));
}

TEST(Zeitprotokoll, NulDisablesTheLog)
{
    TestVerzeichnis v;
    const fs::path vorher = fs::current_path();
    fs::current_path(v.pfad);
    Zeitprotokoll_t log;
    log.beginnen("nul:");
    EXPECT_FALSE(log.aktiv());
    const std::string a = "a ";
    log.iteration(false, &a, 0.1, 40000);
    log.iteration(false, &a, 0.1, 80000);
    EXPECT_TRUE(log.fertigeZeilen().empty());
    log.beenden();
    EXPECT_TRUE(fs::is_empty(v.pfad));
    fs::current_path(vorher);
}
