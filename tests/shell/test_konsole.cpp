#include "../test_hilfen.h"
#include "shell/konsole.h"

namespace {
using Zeilen = std::vector<std::string>;

// Feeds text through a temporary file and collects the lines the reader
// hands on.
Zeilen lesen(const std::string& eingabe)
{
    std::FILE* f = std::tmpfile();
    std::fwrite(eingabe.data(), 1, eingabe.size(), f);
    std::rewind(f);
    KonsolenLeser_t leser(f);
    leser.ungepuffert();
    Zeilen zeilen;
    while (leser.naechsteZeile()) zeilen.emplace_back(leser.zeile());
    std::fclose(f);
    return zeilen;
}
} // namespace

TEST(Konsole, LinesAndTheirFirstWord)
{
    // Trailing white space goes, leading stays, empty lines are skipped, a last
    // line without a newline is read, a NUL byte ends the line's text, and an
    // overlong line arrives in pieces of 39,999 characters.
    const std::string a(39999, 'a');
    const struct {
        std::string eingabe;
        Zeilen zeilen;
    } faelle[] = {
        {"go   \n  go\n\n   \n\t\r\nisready\r\nuci \t\v\f\n", {"go", "  go", "isready", "uci"}},
        {"uci\nquit", {"uci", "quit"}},
        {std::string("isready\0junk\n\0\nquit\n", 20), {"isready", "quit"}},
        {a + std::string(10001, 'a') + "\nisready\n", {a, std::string(10001, 'a'), "isready"}},
    };
    for (const auto& f : faelle) EXPECT_EQ(lesen(f.eingabe), f.zeilen) << f.eingabe.substr(0, 40);

    std::FILE* f = std::tmpfile();
    std::fputs("   abcdefghijklmnopqrstuvwxyz rest\n", f);
    std::rewind(f);
    KonsolenLeser_t leser(f);
    ASSERT_TRUE(leser.naechsteZeile());
    EXPECT_STREQ(leser.wort(), "abcdefghijklmno");
    EXPECT_STREQ(leser.zeile(), "   abcdefghijklmnopqrstuvwxyz rest");
    EXPECT_FALSE(leser.naechsteZeile());
    std::fclose(f);

    char wort[16];
    EXPECT_EQ(erstesWort("  \t ", wort, 15), nullptr);
    const char* rest = erstesWort(" go depth 3", wort, 15);
    EXPECT_STREQ(wort, "go");
    EXPECT_STREQ(rest, " depth 3");
}

