#include <gtest/gtest.h>

#include <vector>

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

TEST(Konsole, TrimsTrailingWhiteSpaceKeepsLeadingAndSkipsEmptyLines)
{
    EXPECT_EQ(lesen("go   \n  go\n\n   \n\t\r\nisready\r\nuci \t\v\f\n"), Zeilen({"go", "  go", "isready", "uci"}));
}

TEST(Konsole, LastLineWithoutNewlineIsRead)
{
    EXPECT_EQ(lesen("uci\nquit"), Zeilen({"uci", "quit"}));
}

TEST(Konsole, OverlongLineArrivesInPieces)
{
    std::string lang(50000, 'a');
    auto z = lesen(lang + "\nisready\n");
    ASSERT_EQ(z.size(), 3u);
    EXPECT_EQ(z[0].size(), 39999u);
    EXPECT_EQ(z[1].size(), 50000u - 39999u);
    EXPECT_EQ(z[2], "isready");
}

TEST(Konsole, NulByteEndsTheLineText)
{
    std::string s = "isready";
    s += '\0';
    s += "junk\n";
    s += '\0';
    s += "\nquit\n";
    EXPECT_EQ(lesen(s), Zeilen({"isready", "quit"}));
}

TEST(Konsole, FirstWordIsCutToFifteenCharacters)
{
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

TEST(Ausgabe, PrintsWholeLinesUntilSilenced)
{
    std::FILE* f = std::tmpfile();
    StummeAusgabe aus(f);
    EXPECT_FALSE(aus.IstStumm());
    aus.Zeile("readyok");
    aus.stummSchalten();
    EXPECT_TRUE(aus.IstStumm());
    aus.Zeile("readyok");
    EXPECT_EQ(dateiInhalt(f), "readyok\n");
    std::fclose(f);
}
