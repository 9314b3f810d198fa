// The opening book: the file grammar, lookups for both colours, the
// weighted choice, the ponder reply and when a file is read again.

#include "buch_hilfen.h"
#include "shell/zufall.h"

namespace {
using Liste = std::vector<std::string>;

struct Fall {
    std::string text;
    bool geladen;
    // Position (moves from the start) and its entries.
    std::vector<std::pair<const char*, Liste>> stellungen;
};

// A book that loads must hold exactly the listed entries; one that does
// not load holds nothing at all.
const Fall FAELLE[] = {
    {"e4 60 e5 30 * c5 25 * * d4 40 d5 10 * * *", true,
     {{"", {"e2e4 60", "d2d4 40"}}, {"e2e4", {"e7e5 30", "c7c5 25"}}, {"d2d4", {"d7d5 10"}}}},
    // Weight 0 keeps the move as a path without an entry; so do other
    // weights below 1 (but -1 is an error).
    {"e4 0 e5 5 * * *", true, {{"", {}}, {"e2e4", {"e7e5 5"}}}},
    {"e4 -7 e5 5 * * *", true, {{"", {}}, {"e2e4", {"e7e5 5"}}}},
    {"e4 -1 e5 5 * * *", false, {}},
    // Line structure means nothing; the top level ends the file.
    {"e4\n5\t*\n\n*   anything after the end", true, {{"", {"e2e4 5"}}}},
    {"e4 5 * ", false, {}},                          // no closing "*" of the top level
    {"e4 5", false, {}},                             // nor of the move's own level
    {"e5 5 * *", false, {}},                         // not a legal move
    {"e4 x * *", false, {}},                         // weight missing
    {"Nf6 5 * *", false, {}},
    {"", false, {}},
    // Any token starting with "*" closes a level.
    {"e4 5 *xyz Nf3 2 *** *!", true, {{"", {"e2e4 5", "g1f3 2"}}}},
    // Tokens are at most 9 characters: a 10-digit weight splits into a
    // weight and a move "1".
    {"e4 000000001 * *", true, {{"", {"e2e4 1"}}}},
    {"e4 0000000001 * *", false, {}},
    // Notations: coordinates, SAN with English and German letters, castling.
    {"g1f3 1 Sf6 2 Sc3 1 * g2g3 3 d5 1 Lg2 1 c6 1 0-0 4 * * * * * * * *", true,
     {{"", {"g1f3 1"}}, {"g1f3", {"g8f6 2"}}, {"g1f3 g8f6", {"g2g3 3", "b1c3 1"}},
      {"g1f3 g8f6 g2g3 d7d5 f1g2 c7c6", {"e1g1 4"}}}},
    // The same position along two lines: two entries, not merged.
    {"e4 1 e5 1 * * d4 1 * Nf3 1 e5 1 e4 1 * * * *", true, {{"", {"d2d4 1", "e2e4 1", "g1f3 1"}}, {"g1f3 e7e5", {"e2e4 1"}}}},
    // Chess960 start positions at the top level only.
    {"startpos 0 b2b3 3 * *", true, {{"fen bbqnnrkr/pppppppp/8/8/8/8/PPPPPPPP/BBQNNRKR w KQkq - 0 1", {"b2b3 3"}}}},
    {"startpos 960 b2b3 3 * *", true, {{"fen bbqnnrkr/pppppppp/8/8/8/8/PPPPPPPP/BBQNNRKR w KQkq - 0 1", {"b2b3 3"}}}},
    {"e4 1 startpos 0 * * *", false, {}},
    {"startpos x *", false, {}},
    {"startpos -5 *", false, {}},
    // Knights out and back: every piece is home again, so "startpos" is
    // allowed there; when its level closes the line goes on where it was.
    {"Nf3 1 Nf6 1 Ng1 1 Ng8 1 startpos 0 b2b3 2 * * Nc6 7 * * * * *", true,
     {{"g1f3 g8f6 f3g1", {"b8c6 7", "f6g8 1"}}, {"fen bbqnnrkr/pppppppp/8/8/8/8/PPPPPPPP/BBQNNRKR w KQkq - 0 1", {"b2b3 2"}}}},
    // A NUL byte in a move token.
    {std::string("e4\0 5 * *", 9), false, {}},
};

// The move the book plays after `zuege` ("-" when it has none) and, with
// `ponder`, the reply it names ("none" when it names none).
std::string spielen(Buch_t& b, const std::string& zuege = "", bool ponder = false)
{
    const TestStellung t = nachZuegen(zuege);
    Zug z = 0, p = 77;
    if (!b.probe(b.name(), t.st, z, ponder ? &p : nullptr)) return "-";
    const std::string zug = zugText(t.st, z);
    if (!ponder) return zug;
    return zug + " " + (p ? zugText(nachZuegen(zuege + " " + zug).st, p) : "none");
}
} // namespace

TEST(Buch, GrammarExamplesEdgeCasesAndDeepLines)
{
    for (const Fall& f : FAELLE) {
        SCOPED_TRACE(f.text);
        Buch_t b;
        ASSERT_TRUE(buchLaden(b, "e4 3 * *"));
        EXPECT_EQ(buchLaden(b, f.text), f.geladen);
        // A failed load leaves the earlier book as it was.
        if (!f.geladen) {
            EXPECT_EQ(buchZuege(b, ""), Liste{"e2e4 3"});
        }
        for (const auto& [zuege, erwartet] : f.stellungen) EXPECT_EQ(buchZuege(b, zuege), erwartet) << zuege;
    }

    std::string text, sterne;
    const int tanz = BUCH_MAX_TIEFE / 4 - 1;
    for (int i = 0; i < tanz; ++i) text += "Nf3 1 Nf6 1 Ng1 1 Ng8 1 ", sterne += "* * * * ";
    Buch_t b;
    EXPECT_TRUE(buchLaden(b, text + sterne + "*"));
    // The dance returns to the start again and again: one entry per
    // position and move, their weights added.
    ASSERT_EQ(b.eintraege().size(), 4u);
    for (const BuchEintrag_t& e : b.eintraege()) EXPECT_EQ(e.gewicht, uint32_t(tanz));
    for (int i = 0; i < 8; ++i) text += "Nf3 1 Nf6 1 Ng1 1 Ng8 1 ", sterne += "* * * * ";
    EXPECT_FALSE(buchLaden(b, text + sterne + "*"));
}

// Both colours play from one line: Black's positions are filed as their
// mirror with White to move.
TEST(Buch, ColourReversedPositionsShareEntries)
{
    Buch_t b;
    ASSERT_TRUE(buchLaden(b, "e4 1 e5 7 * * *"));
    const std::pair<const char*, const char*> faelle[] = {
        {"", "e2e4"},
        {"e2e4", "e7e5"},
        // The mirror of the position after 1.e4: a black pawn on e5, White
        // to move. Its entry is e7e5 mirrored.
        {"fen rnbqkbnr/pppp1ppp/8/4p3/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "e2e4"},
        // And the mirror of the start position with Black to move.
        {"fen rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1", "e7e5"},
    };
    for (const auto& [stellung, zug] : faelle) EXPECT_EQ(spielen(b, stellung), zug) << stellung;
    EXPECT_EQ(buchSchluessel(nachZuegen("e2e4").st), buchSchluessel(nachZuegen(faelle[2].first).st));
}

TEST(Buch, PonderIsTheHeaviestReply)
{
    const char* const TEXT = "e4 5 e5 3 * c5 9 Nf3 1 * * * d4 5 * *";
    Zufallsgenerator zufall(7);
    Buch_t b, mitZufall(&zufall);
    ASSERT_TRUE(buchLaden(b, TEXT));
    ASSERT_TRUE(buchLaden(mitZufall, TEXT));
    std::set<std::string> antworten;
    for (int i = 0; i < 50; ++i) antworten.insert(spielen(mitZufall, "", true));
    EXPECT_EQ(antworten, (std::set<std::string>{"e2e4 c7c5", "d2d4 none"}));
    // As Black: the reply after 1.e4 c5 is White's Nf3.
    const std::string schwarz = spielen(b, "e2e4", true);
    EXPECT_TRUE(schwarz == "c7c5 g1f3" || schwarz == "e7e5 none") << schwarz;
}

// Over many draws each move comes with the share of its weight: the
// chi-square statistic stays below the 0.1 % bound of its distribution.
TEST(Buch, WeightedChoiceFrequencies)
{
    struct {
        const char* text;
        std::map<std::string, double> anteil;
    } faelle[] = {
        {"e4 3 * d4 1 * *", {{"e2e4", 0.75}, {"d2d4", 0.25}}},
        {"e4 1 * d4 2 * c4 3 * Nf3 4 * *", {{"e2e4", 0.1}, {"d2d4", 0.2}, {"c2c4", 0.3}, {"g1f3", 0.4}}},
        // Weights whose total passes 32 bits.
        {"e4 999999999 * d4 999999999 * c4 999999999 * Nf3 999999999 * g3 999999999 * *",
         {{"e2e4", 0.2}, {"d2d4", 0.2}, {"c2c4", 0.2}, {"g1f3", 0.2}, {"g2g3", 0.2}}},
    };
    // Critical values of chi-square at 0.1 % for 1 to 4 degrees of freedom.
    const double GRENZE[] = {0, 10.83, 13.82, 16.27, 18.47};
    for (const auto& f : faelle) {
        Zufallsgenerator zufall(12345);
        Buch_t b(&zufall);
        ASSERT_TRUE(buchLaden(b, f.text));
        std::map<std::string, int> n;
        const int ZIEHUNGEN = 20000;
        for (int i = 0; i < ZIEHUNGEN; ++i) ++n[spielen(b)];
        double chi2 = 0;
        for (const auto& [zug, p] : f.anteil) chi2 += std::pow(n[zug] - p * ZIEHUNGEN, 2) / (p * ZIEHUNGEN);
        EXPECT_EQ(n.size(), f.anteil.size()) << f.text;
        EXPECT_LT(chi2, GRENZE[f.anteil.size() - 1]) << f.text;
    }
}

// A file is read when the name changes, and only then.
TEST(Buch, ReloadOnlyWhenTheNameChanges)
{
    TempDatei a("e4 1 * *"), c("d4 1 * *");
    const std::string fehlt = a.name + ".missing";
    Buch_t b;
    TestStellung t;
    auto probe = [&](const std::string& datei) {
        Zug z = 0;
        return b.probe(datei, t.st, z) ? zugText(t.st, z) : "-";
    };
    EXPECT_EQ(probe(a.name), "e2e4");
    a.schreiben("c4 1 * *");
    EXPECT_EQ(probe(a.name), "e2e4"); // edited on disk, same name: not read again
    EXPECT_EQ(probe(fehlt), "-");
    EXPECT_EQ(probe(a.name), "c2c4");
    EXPECT_EQ(probe(c.name), "d2d4");
    c.schreiben("e4 1 * "); // broken: no book at all
    EXPECT_EQ(probe(a.name), "c2c4");
    EXPECT_EQ(probe(c.name), "-");
    EXPECT_EQ(probe(""), "-");
    // Binary junk and a truncated file are refused, not half read.
    std::string junk(4096, '\0');
    for (size_t i = 0; i < junk.size(); ++i) junk[i] = char(i * 7919 % 251);
    for (const std::string& inhalt : {junk, std::string("e4 1 e5 1 Nf3 1 Nc6 1 Bb5 1 a6 1 * * * * *")}) {
        TempDatei d(inhalt);
        EXPECT_EQ(probe(d.name), "-");
    }
}
