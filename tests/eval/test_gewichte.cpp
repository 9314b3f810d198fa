#include "../test_hilfen.h"
#include "eval/bewertungstabellen.h"
#include "eval/gewichte.h"
#include "eval/spur_bewertung.h"
#include "eval/statisch.h"

namespace {

// The built-in weights come back when the test ends, whatever it did.
struct GewichteZurueck {
    ~GewichteZurueck() { gewichteSetzen(eingebauteGewichte()); }
};

GewichteLesen_t lesen(const std::string& text, Gewichte_t& g) { return gewichteLesen(text.data(), text.size(), g); }

// The lines of a weights text that are not comments.
std::string ohneKommentare(const std::string& text)
{
    std::string r;
    for (const std::string& z : zeilenAus(text))
        if (!z.empty() && z[0] != '#') r += z + "\n";
    return r;
}

std::vector<TestStellung> stellungen()
{
    std::vector<TestStellung> alle;
    std::ifstream datei(testDaten("eval_positions.epd"));
    for (std::string z; std::getline(datei, z);)
        if (!z.empty()) alle.emplace_back(z.c_str());
    return alle;
}

int32_t statisch(const TestStellung& p)
{
    static auto mt = std::make_unique<MaterialTable>();
    static auto pt = std::make_unique<PawnTable>();
    // The caches belong to the weights they were filled under.
    static uint32_t stand = ~0u;
    if (stand != gewichteStand()) mt->leeren(), pt->leeren(), stand = gewichteStand();
    return statischeBewertung(p.st, p.d, *mt, *pt);
}

} // namespace

// Every entry of the built-in record against the hand-set tables, written
// out once in tests/data; the engine's tables are made from that record.
TEST(Gewichte, BuiltInRecordHoldsTheHandSetValues)
{
    EXPECT_EQ(gewichteText(eingebauteGewichte(), nullptr), ohneKommentare(dateiText(testDaten("gewichte_eingebaut.eval"))));
    const Bewertungstabellen_t t = tabellenAus(eingebauteGewichte());
    EXPECT_EQ(std::memcmp(&t, &BW, sizeof t), 0);
    EXPECT_EQ(aktuelleGewichte(), eingebauteGewichte());
    // A few tables as the evaluation reads them: files mirrored, Black's
    // view by sq ^ 56, counts beyond a table repeating its last entry.
    EXPECT_EQ(std::tuple(BW.bauerFeld[E4], BW.bauerFeld[H2], BW.freibauerGedeckt[0], BW.freibauerGedeckt[1]),
              std::tuple(S(118, 164), S(-76, 35), S(0, 0), S(55, 60)));
    EXPECT_EQ(std::tuple(BW.koenigSicherheit[G1], BW.material[DAME][10]), std::tuple(81, 56796));
}

// The tuned set that ships beside the programs is complete and within
// every entry's bounds (a damaged or shortened file would fall back to the
// built-in weights in play without anybody noticing in the tests).
TEST(Gewichte, ShippedTunedSetIsComplete)
{
    Gewichte_t g;
    const GewichteLesen_t r = gewichteDateiLesen(std::string(VELKARIS_TEST_DATA) + "/../../data/Velkaris.eval", g);
    ASSERT_TRUE(r.ok) << r.fehler;
    EXPECT_EQ(std::tuple(r.gelesen, r.fehlendAnzahl), std::tuple(int(G_ANZAHL), 0)) << r.fehlend;
    EXPECT_NE(g, eingebauteGewichte());
}

TEST(Gewichte, FileRoundTripCommentsAndLeftOutEntries)
{
    // Every number changed (within its bounds) survives writing and reading.
    Xorshift zufall;
    Gewichte_t g = eingebauteGewichte();
    for (int e = 0; e < G_ANZAHL; ++e) {
        const GewichtEintrag_t& ein = GEWICHT_EINTRAEGE[e];
        const int64_t spanne = int64_t(ein.maximum) - ein.minimum + 1;
        for (int i = 0; i < gewichtBreite(ein); ++i) g.von(Gewicht_t(e))[i] = int32_t(ein.minimum + int64_t(zufall() % uint64_t(spanne)));
    }
    Gewichte_t zurueck;
    GewichteLesen_t r = lesen(gewichteText(g, "# kopf\n"), zurueck);
    ASSERT_TRUE(r.ok) << r.fehler;
    EXPECT_EQ(zurueck, g);
    EXPECT_EQ(std::tuple(r.gelesen, r.fehlendAnzahl), std::tuple(int(G_ANZAHL), 0));

    // Blanks, tabs, CR line ends and comments; the rest stays built in and
    // is named.
    r = lesen("# tuned\r\n\r\n  Tempo\t70  36 \r\nKoenig.Schild 2 -70 -70 -70 -90 -140\n# end", zurueck);
    ASSERT_TRUE(r.ok) << r.fehler;
    EXPECT_EQ(std::tuple(zurueck.von(G_TEMPO)[0], zurueck.von(G_TEMPO)[1], zurueck.von(G_KOENIG_SCHILD)[5]),
              std::tuple(70, 36, -140));
    EXPECT_EQ(std::tuple(r.gelesen, r.fehlendAnzahl), std::tuple(2, int(G_ANZAHL) - 2));
    EXPECT_EQ(r.fehlend.rfind("Material.Bauer, Material.Springer, ", 0), 0u) << r.fehlend;
    EXPECT_EQ(r.fehlend.find("Tempo"), std::string::npos);
    EXPECT_EQ(zurueck.von(G_MATERIAL_DAME)[1], 9792);
}

TEST(Gewichte, DamagedTextsAreRefusedWhole)
{
    const std::string lang(5000, '1');
    const std::pair<std::string, std::string> faelle[] = {
        {"Tempo 68\n", "line 1: Tempo: 1 values instead of 2"},
        {"Tempo 68 35 1\n", "line 1: Tempo: more than 2 values"},
        {"# a\nTempo 68 x\n", "line 2: Tempo: value 2 is not a whole number"},
        {"Tempo nan 35\n", "value 1 is not a whole number"},
        {"Tempo 1e3 35\n", "value 1 is not a whole number"},
        {"Tempo 12.5 35\n", "value 1 is not a whole number"},
        {"Tempo 68 35x\n", "value 2 is not a whole number"},
        {"Tempo 99999999999999999999 35\n", "value 1 is not a whole number"},
        {"Tempo 68 10001\n", "Tempo: value 10001 outside -10000..10000"},
        {"Material.Dame 0 -1 2 3 4 5 6 7 8 9\n", "value -1 outside 0..100000"},
        {"Tempo 1 2\nFoo 1 2\n", "line 2: unknown entry 'Foo'"},
        {"tempo 1 2\n", "unknown entry 'tempo'"},
        {"Tempo 1 2\nTempo 1 2\n", "line 2: entry Tempo given twice"},
        {"", "no weights in it"},
        {"# nothing\n\n", "no weights in it"},
        {"Tempo " + lang + "\n", "line 1: longer than 4096 characters"},
        {std::string("Tempo 1\0 2\n", 11), "value 1 is not a whole number"},
    };
    for (const auto& [text, fehler] : faelle) {
        Gewichte_t g;
        const GewichteLesen_t r = lesen(text, g);
        EXPECT_FALSE(r.ok) << text;
        EXPECT_NE(r.fehler.find(fehler), std::string::npos) << r.fehler << " / " << fehler;
        EXPECT_EQ(g, eingebauteGewichte()) << text;
    }
    Gewichte_t g;
    EXPECT_EQ(gewichteDateiLesen("/nonexistent/weights.eval", g).fehler, "cannot open the file");
}

TEST(Gewichte, ChangedWeightsReachTheEvaluationAndTheQuiescenceMaterial)
{
    GewichteZurueck zurueck;
    const TestStellung start;
    ASSERT_EQ(statisch(start), 68);
    const uint32_t vorher = gewichteStand();
    Gewichte_t g = eingebauteGewichte();
    g.von(G_TEMPO)[0] = 100;
    g.von(G_MATERIAL_DAME)[1] = 9000;
    gewichteSetzen(g);
    EXPECT_EQ(std::tuple(gewichteStand(), statisch(start), BW.material[DAME][1]),
              std::tuple(vorher + 1, 100, 9000));
    // Setting the same weights again changes nothing.
    gewichteSetzen(g);
    EXPECT_EQ(gewichteStand(), vorher + 1);
    gewichteSetzen(eingebauteGewichte());
    EXPECT_EQ(statisch(start), 68);

    // The largest weights a file may hold keep a static score far from the
    // mate scores (and, under the sanitizers, free of overflow).
    for (int i = 0; i < 10; ++i) g.von(G_MATERIAL_DAME)[i] = 100000;
    for (int i = 0; i < 11; ++i) g.von(G_MATERIAL_SPRINGER)[i] = 100000;
    g.von(G_ABTAUSCH)[0] = g.von(G_ABTAUSCH)[1] = 1000;
    g.von(G_MATERIAL_ZUSATZ)[0] = g.von(G_MATERIAL_ZUSATZ)[1] = 1024;
    gewichteSetzen(g);
    for (const char* fen : {"7k/8/8/8/8/8/QQQQQ3/QQQQK3 b - - 0 1", "nnnnnnnn/nn6/8/8/8/4K3/8/4k3 b - - 0 1"}) {
        const TestStellung p(fen);
        ASSERT_TRUE(p.ok) << fen;
        EXPECT_LE(std::abs(statisch(p)), 201300) << fen;
    }
}

// The traced evaluation scores every test position exactly as the engine
// does, and its derivative by a weight matches the change of the engine's
// score when that weight moves (central differences, summed over all
// positions: single positions step over branch points and truncations).
TEST(Gewichte, TracedScoreAndGradientAgreeWithTheEngine)
{
    GewichteZurueck zurueck;
    const std::vector<TestStellung> alle = stellungen();
    ASSERT_GE(alle.size(), 300u);
    const Gewichte_t basis = eingebauteGewichte();
    auto tab = spurTabellen(basis);
    std::vector<Spur_t> spuren;
    for (const TestStellung& p : alle) {
        spuren.push_back(spurBewertung(*tab, p.st, p.d));
        ASSERT_EQ(spuren.back().v, statisch(p)) << fenText(p.st);
    }

    struct Fall {
        Gewicht_t eintrag;
        int stelle;
        int schritt;
    };
    const Fall faelle[] = {
        {G_TEMPO, 0, 20},                // packed, middlegame half
        {G_TEMPO, 1, 20},                // endgame half
        {G_MATERIAL_DAME, 1, 200},       // material: balance, phase, king-danger weight
        {G_ABTAUSCH, 0, 50},             // the trade-down product
        {G_MATERIAL_ZUSATZ, 0, 32},      // the balance in the middlegame half
        {G_MATERIAL_ZUSATZ, 1, 32},      // and in the endgame half
        {G_KOENIG_KRUEMMUNG, 0, 8},      // king danger, squared
        {G_ANGRIFF_ZAEHLER, 4, 10},      // the attack counter inside it
        {G_KOENIG_SCHILD, 5, 20},
        {G_SPRINGER_MOBILITAET, 16, 20}, // row 8, knight mobility 8, middlegame
        {G_BAUER_FELD, 25, 20},          // rank 5, file a (and h), endgame
        {G_KOENIG_ZENTRUM, 14, 20},      // rank 5, file c: Black's king reads it mirrored
        {G_REMIS_UNGLEICHE_LAEUFER, 0, 16},
    };
    for (const Fall& f : faelle) {
        const int index = versatz(f.eintrag) + f.stelle;
        double analytisch = 0, betrag = 0;
        for (const Spur_t& sp : spuren)
            for (const SpurGlied_t& gl : sp.a)
                if (gl.index == index) analytisch += gl.faktor, betrag += std::abs(gl.faktor);
        double differenz = 0;
        for (int richtung : {1, -1}) {
            Gewichte_t g = basis;
            g.w[index] += richtung * f.schritt;
            gewichteSetzen(g);
            for (const TestStellung& p : alle) differenz += richtung * statisch(p);
        }
        differenz /= 2.0 * f.schritt;
        SCOPED_TRACE(gewichtName(index));
        EXPECT_GT(betrag, 1.0); // the weight is in play in the test positions
        EXPECT_NEAR(differenz, analytisch, 0.02 * betrag + 1.0);
    }
}
