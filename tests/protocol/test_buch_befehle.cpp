// The "book" command: its grammar, the life of the statistics between
// commands, and what it prints.

#include "../book/buch_hilfen.h"
#include "bookcalc/buchberechnung.h"
#include "protocol/buch_befehle.h"

namespace {

struct Befehle : ::testing::Test {
    std::unique_ptr<Buchberechnung_t> objekt;
    Mitschrift<StummeAusgabe> aus;
    void sagen(const std::string& zeile) { buchBefehl(zeile.c_str(), objekt, aus); }
};

} // namespace

TEST_F(Befehle, GrammarAndObjectLifetime)
{
    TempDatei bild, buch;
    const std::pair<uint64_t, uint32_t> e4 = schluesselZug("", "e4");
    // Commands that need an object do nothing without one.
    for (const char* z : {"book lock", "book write /nonexistent/dir/x", "book writemem /nonexistent/dir/x", "book delete"})
        sagen(z);
    EXPECT_FALSE(objekt);

    sagen("book addpos /nonexistent/file");
    ASSERT_TRUE(objekt);
    objekt->beobachtung(e4.first, 1, 1, 5, e4.second);
    sagen("book lock");
    EXPECT_TRUE(objekt->gesperrt);
    sagen("book unlock");
    EXPECT_FALSE(objekt->gesperrt);
    sagen("book writemem " + bild.name + "   ");
    EXPECT_NE(bild.lesen(), "<missing>");
    // An argument of 1024 characters makes the command do nothing.
    sagen("book write " + std::string(1024, 'x'));
    ASSERT_TRUE(objekt);
    sagen("book write960 " + buch.name);
    EXPECT_FALSE(objekt);
    EXPECT_EQ(buch.lesen(), "<missing>");
    sagen("book readmem " + bild.name);
    ASSERT_TRUE(objekt);
    EXPECT_EQ(objekt->eintraege.size(), 1u);
    // The file name runs up to the next keyword; threshold in thousandths.
    sagen("book write " + buch.name + " width 10 threshold 4000");
    EXPECT_FALSE(objekt);
    EXPECT_EQ(buch.lesen(), "e2e4   99  * * -1\n");
    // The line may end in " delete".
    sagen("book readmem " + bild.name);
    sagen("book delete");
    EXPECT_FALSE(objekt);
    // A write that cannot open its file keeps the statistics.
    sagen("book readmem " + bild.name);
    sagen("book write /nonexistent/dir/x.opn");
    EXPECT_TRUE(objekt);

    // A book that cannot be read gets no entropy line: it is refused
    // through the channel's error operation instead.
    sagen("book entropy " + buch.name);
    sagen("book entropy /nonexistent/x.opn");
    EXPECT_EQ(aus.neue(), (std::vector<std::string>{"info book entropy 0.00"}));
}

// A "readmem" that fails leaves no statistics behind, so a following
// "write" cannot replace a book with an empty one.
TEST_F(Befehle, FailedReadmemKeepsTheBook)
{
    TempDatei buch("e4 1 * *\n"), kaputt("\x01\x02\x03");
    for (const std::string& bild : {std::string("/nonexistent/x.bin"), kaputt.name, std::string("/tmp")}) {
        sagen("book readmem " + bild);
        EXPECT_FALSE(objekt) << bild;
        sagen("book write " + buch.name);
        EXPECT_EQ(buch.lesen(), "e4 1 * *\n") << bild;
    }
}
