// The book calculation: the statistics (observations, lock, analyses), the
// binary image, the written book, entropy and end positions, and the
// analysis of positions.

#include "../book/buch_hilfen.h"
#include "bookcalc/buch_auswertung.h"
#include "bookcalc/buchberechnung.h"
#include "bookcalc/stellungsanalyse.h"
#include "files/binaer.h"

namespace {

std::string entropie(const std::string& buch)
{
    Buch_t b;
    EXPECT_TRUE(buchLaden(b, buch));
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", buchEntropie(b));
    return text;
}

} // namespace

TEST(BuchAuswertung, EntropyAndEndPositions)
{
    // Entropy of the reach probabilities of positions, not of moves.
    const std::pair<const char*, const char*> faelle[] = {
        {"*", "0.00"},
        {"e4 1 * *", "0.00"},                       // two positions, each reached for sure
        {"e4 1 * d4 1 * *", "1.00"},                // start 1, then 1/2 and 1/2
        {"e4 3 * d4 1 * *", "0.81"},
        {"e4 1 e5 1 * c5 1 * * d4 1 * *", "2.00"},  // 1, 1/2, 1/2, 1/4, 1/4
        // 1.e4 e5 2.Nf3 and 1.Nf3 e5 2.e4 meet: that position is reached
        // for sure and counts once.
        {"e4 1 e5 1 Nf3 1 * * * Nf3 1 e5 1 e4 1 * * * *", "2.00"},
        // A line back into its own start is cut there.
        {"Nf3 1 Nf6 1 Ng1 1 Ng8 1 Nf3 1 * * * * * *", "0.00"},
        // Weight 0: a path the engine never plays.
        {"e4 0 e5 1 * * d4 1 * *", "0.00"},
        // Reach probabilities summed from shares must not print "-0.00".
        {"e4 8 e5 5 * * e4 0 e5 5 * * e4 0 e5 5 * e5 5 * * *", "0.00"},
    };
    for (const auto& [buch, h] : faelle) EXPECT_EQ(entropie(buch), h) << buch;

    Buch_t b;
    ASSERT_TRUE(buchLaden(b, "e4 1 e5 1 * c5 3 * * d4 2 d5 1 c4 1 * * * *"));
    // After 1.d4 d5 the line ends with 2.c4: that position with 2/3. After
    // 1.e4 both replies are last moves: the position after 1.e4 (seen from
    // White's side) with 1/3. (Heaviest lines first.)
    EXPECT_EQ(mitschreiben([&](std::FILE* f) { return buchEndstellungen(b, f); }),
              std::pair(2, std::string("0.666667 rnbqkbnr/ppp1pppp/8/3p4/3P4/8/PPP1PPPP/RNBQKBNR w KQkq -\n"
                                       "0.333333 rnbqkbnr/pppp1ppp/8/4p3/8/8/PPPPPPPP/RNBQKBNR w KQkq -\n")));
}

// A game counts once; with the object locked only known pairs grow.
TEST(Buchberechnung, ObservationsAndLock)
{
    Buchberechnung_t b;
    auto [k, e4] = schluesselZug("", "e4");
    auto [k2, d4] = schluesselZug("", "d4");
    b.beobachtung(k, 1, 1, 1, e4);
    b.beobachtung(k, -0.5, 0.25, 0.5, e4);
    b.gesperrt = true;
    b.beobachtung(k, 1, 1, 1, d4);
    ASSERT_EQ(b.eintraege.size(), 1u);
    const BuchStatistik_t& s = b.eintraege.begin()->second;
    EXPECT_EQ(std::make_tuple(s.summeWR, s.summeWRR, s.summeW), std::make_tuple(0.5, 1.25, 1.5));
}

// An analysis of a position with Black to move counts for the mirror, with
// the result turned round.
TEST(Buchberechnung, AnalysedPositions)
{
    TempDatei datei("e7e5 400 rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1\n"
                    "g1f3 0 rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\n"
                    "zz 5 junk\n"
                    "e2e4 -400 8/8/8/8/8/8/8/8 w - - 0 1\n");
    Buchberechnung_t b;
    ASSERT_TRUE(b.analysenHinzufuegen(datei.name, 500));
    ASSERT_EQ(b.eintraege.size(), 2u);
    auto [k, e5] = schluesselZug("e2e4", "e5");
    auto it = b.eintraege.find(k);
    ASSERT_NE(it, b.eintraege.end());
    const double r = ergebnisAusWert(400);
    EXPECT_NEAR(r, 0.1260, 1e-4);
    EXPECT_EQ(it->second.zug, e5);
    EXPECT_DOUBLE_EQ(it->second.summeWR, -0.5 * r);
    EXPECT_DOUBLE_EQ(it->second.summeW, 0.5);
    EXPECT_FALSE(b.analysenHinzufuegen(datei.name + "x", 500));
}

// writemem and readmem give back every field, also from an image written
// before checksums came (the same bytes without the last twelve). An image
// with a flipped bit anywhere, cut short or lengthened, or with absurd
// counts is refused with a reason and the statistics stay as they were.
TEST(Buchberechnung, MemoryImageRoundTripAndDamagedImages)
{
    Buchberechnung_t a;
    a.schwelle = 2.5;
    a.breite = 12.5;
    a.signaturen = {3, 1ull << 63, 7};
    for (uint64_t i = 0; i < 50; ++i) a.beobachtung(i * 0x9E3779B97F4A7C15ull, i * 0.5, -double(i), i + 1.0, uint32_t(0x1000 + i % 7));
    a.gesperrt = true;
    ASSERT_EQ(a.eintraege.size(), 50u);
    a.eintraege.begin()->second.wert = 1.5f;
    a.eintraege.begin()->second.besucht = 1;
    TempDatei datei;
    ASSERT_TRUE(a.bildSchreiben(datei.name));
    const std::string bytes = datei.lesen();
    EXPECT_EQ(bytes.size(), 1 + 8 + 8 + 8 + 3 * 8 + 8 + 50 * 56u + PRUEF_ANHANG);
    for (const std::string& bild : {bytes, bytes.substr(0, bytes.size() - PRUEF_ANHANG)}) {
        SCOPED_TRACE(bild.size());
        datei.schreiben(bild);
        Buchberechnung_t b;
        ASSERT_TRUE(b.bildLesen(datei.name));
        EXPECT_EQ(std::make_tuple(b.gesperrt, b.schwelle, b.breite, b.signaturen),
                  std::make_tuple(a.gesperrt, a.schwelle, a.breite, a.signaturen));
        ASSERT_EQ(b.eintraege.size(), a.eintraege.size());
        for (auto i = a.eintraege.begin(), j = b.eintraege.begin(); i != a.eintraege.end(); ++i, ++j)
            EXPECT_EQ(0, std::memcmp(&i->second, &j->second, sizeof(BuchStatistik_t)));
    }

    Buchberechnung_t b;
    b.beobachtung(99, 1, 1, 1, 0x1777);
    auto alle = beschaedigt(bytes);
    alle.emplace_back("junk appended", bytes + "x");
    alle.emplace_back("absurd counts", std::string(25, '\xff'));
    alle.emplace_back("empty", "");
    for (const auto& [was, d] : alle) {
        SCOPED_TRACE(was);
        const char* grund = nullptr;
        EXPECT_FALSE(b.bildLesen(std::vector<unsigned char>(d.begin(), d.end()), &grund));
        EXPECT_NE(grund, nullptr);
        if (was.rfind("byte ", 0) != 0) { // and from a file
            datei.schreiben(d);
            EXPECT_FALSE(b.bildLesen(datei.name));
        }
        ASSERT_EQ(b.eintraege.size(), 1u);
        EXPECT_EQ(b.eintraege.begin()->first, 99u);
    }
}

// Games into a book: the stronger-supported move is ranked first and the
// written book loads.
TEST(Buchberechnung, GamesToBook)
{
    std::string pgn;
    // Knights out and back after the first move; the last move tells games
    // apart.
    auto partie = [&](const char* erster, const char* letzter, const char* ergebnis) {
        pgn += std::string("[White \"a\"]\n[Black \"b\"]\n[Result \"") + ergebnis + "\"]\n1. " + erster +
               " Nf6 2. Nf3 Nc6 3. Nc3 Ng8 4. Nb1 Nb8 5. Ng1 Nf6 6. Nf3 Ng8 7. Ng1 Nc6 8. Nf3 Nb8 9. Ng1 Nf6 "
               "10. Nf3 Ng8 11. Ng1 Nf6 12. Nf3 Ng8 13. Ng1 Nf6 14. Nf3 Ng8 15. Ng1 Nf6 16. Nf3 Ng8 17. Ng1 " +
               letzter + " " + ergebnis + "\n";
    };
    for (const char* letzter : {"Nf6", "Nh6", "Nc6", "Nf6"}) partie("e4", letzter, "1-0");
    for (const char* letzter : {"Nf6", "Nh6", "Nc6"}) partie("d4", letzter, "0-1");
    partie("c4", "Nf6", "1-0");
    TempDatei datei(pgn), buch;
    Buchberechnung_t b;
    ASSERT_TRUE(b.partienHinzufuegen(datei.name, 1000, false));
    // Each game counts once: the second 1.e4 ... Nf6 and the whole file
    // again add nothing.
    EXPECT_EQ(b.signaturen.size(), 7u);
    ASSERT_TRUE(b.partienHinzufuegen(datei.name, 1000, true));
    EXPECT_EQ(b.signaturen.size(), 7u);
    ASSERT_TRUE(b.buchSchreiben(buch.name, 1000, 25));
    Buch_t geladen;
    geladen.nameSetzen(buch.name);
    ASSERT_TRUE(geladen.load());
    const std::vector<std::string> start = buchZuege(geladen, "");
    ASSERT_FALSE(start.empty());
    EXPECT_EQ(start[0], "e2e4 99");
}

// makepos: one line per position worth analysing (probability at least
// 0.001, a legal move to play), as addpos reads it back.
TEST(Buchberechnung, AnalysingPositions)
{
    TempDatei ein("0.5 6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1\n"
                  "0.0001 rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\n"
                  "0.2 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1\n"
                  "0.3 8/8/8/8/8/8/8/K6k w - - 0 1\n"
                  "junk\n"),
        aus;
    ASSERT_TRUE(stellungenAnalysieren(ein.name.c_str(), aus.name.c_str(), 3000, 1));
    const std::string text = aus.lesen();
    // The back-rank mate is found; bare kings are a draw whatever the search says.
    EXPECT_EQ(text.substr(0, 5), "a1a8 ");
    EXPECT_NE(text.find(" 6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1\n"), std::string::npos);
    EXPECT_NE(text.find(" 0 8/8/8/8/8/8/8/K6k w - - 0 1\n"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
    Buchberechnung_t b;
    ASSERT_TRUE(b.analysenHinzufuegen(aus.name, 1000));
    EXPECT_EQ(b.eintraege.size(), 2u);
    EXPECT_FALSE(stellungenAnalysieren((ein.name + "x").c_str(), aus.name.c_str(), 3000, 1));
}
