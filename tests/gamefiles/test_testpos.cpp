// The test-position tool: its parameter file, the positions it remembers
// from an earlier run (also after a run killed while writing), and whole
// runs on a few games: a second run adds no position twice, no draw score
// is written, and the parameter file names a game of the file.

#include <unordered_set>

#include "../test_hilfen.h"
#include "gamefiles/testpos.h"
#include "gamefiles/werkzeugsuche.h"

namespace {

struct TestposDateien : ::testing::Test {
    TestVerzeichnis v;
    const std::string pgn = testDaten("testpos_partien.pgn");
    std::string pfad(const char* n) const { return v.datei(n); }
    void schreiben(const char* n, const std::string& text) const { dateiSchreiben(pfad(n), text); }
    std::string lesen(const char* n) const { return dateiText(pfad(n)); }
};

TEST_F(TestposDateien, parameterdatei)
{
    const struct {
        const char* text;
        bool ok;
        long partie;
    } faelle[] = {
        {"games.pgn  \n17\nout.txt\t\n", true, 17},
        {"my games.pgn\n0\nout.txt", true, 1},  // no line end at the end; 0 = from the start
        {"games.pgn\n17\n", false, 0},          // output line missing
        {"games.pgn\nseventeen\nout.txt\n", false, 0},
        {"games.pgn\n17x\nout.txt\n", false, 0},
        {"games.pgn\n-3\nout.txt\n", false, 0},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.text);
        schreiben("p.txt", f.text);
        TestposParameter_t p;
        std::string fehler;
        EXPECT_EQ(testposParameterLesen(pfad("p.txt"), p, fehler), f.ok);
        if (f.ok) EXPECT_EQ(std::pair(p.partie, p.ausgabe), std::pair(f.partie, std::string("out.txt")));
        else EXPECT_FALSE(fehler.empty());
    }
}

// The positions of an earlier run's output are known. A last line without
// its line end is the start of a line written when a run was killed, and
// is cut off, only in a file of the tool's own lines; any other file keeps
// its last line whole, and the next line starts on a line of its own.
TEST_F(TestposDateien, bekannteStellungenUndAbgebrocheneZeile)
{
    const std::string a = "     -12     345  1 rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq -\n";
    const std::string b = "      80    -999 -1 r1bqkbnr/pppppppp/2n5/8/4P3/8/PPPP1PPP/RNBQKBNR w KQkq -\n";
    const std::string kaputt = "garbage\n";
    const std::string halb = "       3      77  0 rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP";
    const struct {
        std::string text;
        std::string danach;
        int schlecht;
        std::size_t bekannt;
        bool offen;
    } faelle[] = {
        {a + kaputt + b + halb, a + kaputt + b, 1, 2, false},
        {a + b, a + b, 0, 2, false},
        {halb, "", 0, 0, false},                         // killed during the first line
        {halb.substr(0, 11), halb.substr(0, 11), 1, 0, true}, // too short to tell
        {"my notes\nthe last line", "my notes\nthe last line", 2, 0, true},
        {a + "the end", a + "the end", 1, 1, true},
        {"12345", "12345", 1, 0, true},
        {a + "      80", a, 0, 1, false},
        {"", "", 0, 0, false},
    };
    // The key of the position on line a.
    const uint64_t schluesselA = TestStellung(a.c_str() + 20).d.schluessel;
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.text);
        schreiben("out.txt", f.text);
        std::unordered_set<uint64_t> bekannt;
        bool offen = !f.offen;
        EXPECT_EQ(bekannteStellungenLesen(pfad("out.txt"), bekannt, offen), f.schlecht);
        EXPECT_EQ(std::pair(bekannt.size(), offen), std::pair(f.bekannt, f.offen));
        EXPECT_EQ(bekannt.count(schluesselA), f.text.rfind(a, 0) == 0 ? 1u : 0u);
        EXPECT_EQ(lesen("out.txt"), f.danach);
    }
    // A missing file: nothing known, nothing open.
    std::unordered_set<uint64_t> bekannt;
    bool offen = true;
    EXPECT_EQ(bekannteStellungenLesen(pfad("fehlt.txt"), bekannt, offen), 0);
    EXPECT_EQ(std::pair(bekannt.size(), offen), std::pair(std::size_t(0), false));
}

TEST_F(TestposDateien, zweiLaeufeOhneDoppelte)
{
    schreiben("p.txt", pgn + "\n1\n" + pfad("out.txt") + "\n");
    WerkzeugEinstellung_t e{.go = {.tiefe = 3}, .hashMb = 1};
    for (uint32_t saat : {7u, 7u, 99u}) {
        e.saat = saat;
        ASSERT_EQ(testposWerkzeug(pfad("p.txt").c_str(), e), 0);
        // Every run goes through the file from the game the last one named.
        TestposParameter_t p;
        std::string fehler;
        ASSERT_TRUE(testposParameterLesen(pfad("p.txt"), p, fehler)) << fehler;
        EXPECT_TRUE(p.partie == 1 || p.partie == 2 || p.partie == 5) << p.partie;
    }
    std::ifstream ein(pfad("out.txt"));
    std::set<uint64_t> schluessel;
    int n = 0;
    for (std::string z; std::getline(ein, z); ++n) {
        ASSERT_GT(z.size(), 20u);
        long ruhe = 0, wert = 0;
        int ergebnis = 9;
        ASSERT_EQ(std::sscanf(z.c_str(), "%8ld%8ld%3d", &ruhe, &wert, &ergebnis), 3) << z;
        EXPECT_TRUE(wert <= -2 || wert >= 2) << z;
        EXPECT_TRUE(ergebnis >= -1 && ergebnis <= 1) << z;
        TestStellung t(z.c_str() + 20);
        ASSERT_TRUE(t.ok) << z;
        EXPECT_LE(std::abs(ruhe), ruheFenster(t.d.schluessel)) << z;
        EXPECT_TRUE(schluessel.insert(t.d.schluessel).second) << "twice: " << z;
    }
    EXPECT_GT(n, 0);
}

TEST_F(TestposDateien, schlechteEingaben)
{
    const WerkzeugEinstellung_t e{.go = {.tiefe = 1}, .hashMb = 1};
    const struct {
        std::string parameter;
        int rc;
    } faelle[] = {
        {"", 1},
        {pgn + "\n", 1},                                         // lines missing
        {pfad("fehlt.pgn") + "\n1\n" + pfad("out.txt") + "\n", 1}, // no PGN file
        {pgn + "\n1\n" + pfad("kein/ordner/out.txt") + "\n", 1},  // output cannot be made
        {pgn + "\n500\n" + pfad("out.txt") + "\n", 0},            // beyond the last game
    };
    for (const auto& f : faelle) {
        schreiben("p.txt", f.parameter);
        EXPECT_EQ(testposWerkzeug(pfad("p.txt").c_str(), e), f.rc) << f.parameter;
        EXPECT_EQ(lesen("p.txt"), f.parameter) << "parameters rewritten without a position";
        EXPECT_EQ(lesen("out.txt"), "");
    }
    // An output file of somebody else's keeps its last line whole: it is
    // untouched when nothing is written, and the first position starts on
    // a line of its own.
    schreiben("notes.txt", "my notes\nno line end");
    schreiben("p.txt", pfad("fehlt.pgn") + "\n1\n" + pfad("notes.txt") + "\n");
    EXPECT_EQ(testposWerkzeug(pfad("p.txt").c_str(), e), 1);
    EXPECT_EQ(lesen("notes.txt"), "my notes\nno line end");
    schreiben("p.txt", pgn + "\n1\n" + pfad("notes.txt") + "\n");
    EXPECT_EQ(testposWerkzeug(pfad("p.txt").c_str(), e), 0);
    const auto zeilen = zeilenAus(lesen("notes.txt"));
    ASSERT_GT(zeilen.size(), 2u);
    EXPECT_EQ(zeilen[1], "no line end");
    EXPECT_TRUE(TestStellung(zeilen[2].c_str() + 20).ok) << zeilen[2];
}

} // namespace
