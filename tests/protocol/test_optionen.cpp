#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "../test_hilfen.h"
#include "protocol/optionen.h"
#include "protocol/zahlen.h"

namespace {
struct Zeilen : StummeAusgabe {
    std::vector<std::string> zeilen;
    void Zeile(const char* t) override { zeilen.emplace_back(t); }
};

// An option's value and its text.
using Zustand = std::pair<int32_t, std::string>;
Zustand zustand(const Optionen_t& o, int i) { return {o.wert(i), o.text(i)}; }
} // namespace

TEST(Optionen, DefaultsOfTheNormalTable)
{
    Optionen_t o(OPTIONEN_NORMAL);
    ASSERT_EQ(o.anzahl(), 15);
    // Values are derived from the default texts by type.
    EXPECT_EQ(o.wert(OPT_HASH), 3);
    EXPECT_TRUE(o.wahr(OPT_PONDER));
    EXPECT_EQ(zustand(o, OPT_CLEAR_HASH), Zustand(0, "false"));
    EXPECT_EQ(o.wert(OPT_BOOKFILE), 0);
    EXPECT_EQ(o.wert(OPT_RESIGN), 700);
    for (auto [name, index] : {std::pair{"Resign", int(OPT_RESIGN)}, {"NoOutput", OPT_NOOUTPUT}, {"Hash", OPT_HASH},
                               {"hash", -1}, {"Has", -1}})
        EXPECT_EQ(o.finden(name), index) << name;

    Optionen_t leer(OPTIONEN_LEER);
    EXPECT_EQ(leer.anzahl(), 0);
    EXPECT_EQ(leer.finden("Resign"), -1);
    EXPECT_FALSE(leer.setoption("setoption name Hash value 5"));
}

TEST(Optionen, SpinValuesAreClampedNeverRefused)
{
    Optionen_t o(OPTIONEN_NORMAL);
    // The text is always the number kept.
    for (auto [zeile, wert] : {std::pair{"setoption name Hash value 0", 1}, {"setoption name Hash value 99999", 32000},
                               {"setoption name Hash value abc", 1},
                               {"setoption name Hash value 99999999999999999999999999", 32000},
                               {"setoption   name   Hash   value   64", 64},
                               {"setoption name Hash value -99999999999999999999999", 1}}) {
        EXPECT_TRUE(o.setoption(zeile)) << zeile;
        EXPECT_EQ(o.wert(OPT_HASH), wert) << zeile;
        EXPECT_EQ(o.text(OPT_HASH), std::to_string(wert)) << zeile;
    }
}

TEST(Optionen, MalformedLinesChangeNothing)
{
    Optionen_t o(OPTIONEN_NORMAL);
    for (const char* zeile : {"setoption name Hash", "setoption name Hash value", "setoption Hash value 5",
                              "setoptionname Hash value 5", "setoption name Unknown value 5", "setoption name", ""})
        EXPECT_FALSE(o.setoption(zeile)) << zeile;
    EXPECT_EQ(o.wert(OPT_HASH), 3);
    // MultiPVx finds MultiPV, but "value " must follow the name directly.
    EXPECT_FALSE(o.setoption("setoption name MultiPVx value 3"));
    EXPECT_EQ(o.wert(OPT_MULTIPV), 1);
}

TEST(Optionen, LongestNameWins)
{
    Optionen_t o(OPTIONEN_NORMAL);
    EXPECT_TRUE(o.setoption("setoption name MultiPV_Score value 50"));
    EXPECT_EQ(std::pair(o.wert(OPT_MULTIPV), o.wert(OPT_MULTIPV_SCORE)), std::pair(1, 50));
    EXPECT_TRUE(o.setoption("setoption name MultiPV value 4"));
    EXPECT_EQ(std::pair(o.wert(OPT_MULTIPV), o.wert(OPT_MULTIPV_SCORE)), std::pair(4, 50));
}

TEST(Optionen, ButtonsAndChecks)
{
    Optionen_t o(OPTIONEN_NORMAL);
    EXPECT_TRUE(o.setoption("setoption name Clear Hash"));
    EXPECT_EQ(zustand(o, OPT_CLEAR_HASH), Zustand(1, "true"));
    // The search resets the button when it has cleared the table.
    o.knopfLoesen(OPT_CLEAR_HASH);
    EXPECT_EQ(zustand(o, OPT_CLEAR_HASH), Zustand(0, "false"));
    // Set by value, a button's text is the number.
    EXPECT_TRUE(o.setzen(OPT_CLEAR_HASH, 1));
    EXPECT_STREQ(o.text(OPT_CLEAR_HASH), "1");
    EXPECT_TRUE(o.setzen(OPT_HASH, 100000));
    EXPECT_EQ(zustand(o, OPT_HASH), Zustand(32000, "32000"));

    EXPECT_TRUE(o.setoption("setoption name Ponder value falsely"));
    EXPECT_EQ(zustand(o, OPT_PONDER), Zustand(0, "false"));
    EXPECT_TRUE(o.setoption("setoption name Ponder value true"));
    EXPECT_TRUE(o.wahr(OPT_PONDER));
    EXPECT_FALSE(o.setoption("setoption name Ponder value yes"));
    EXPECT_TRUE(o.wahr(OPT_PONDER));

    // Hidden options are not listed but can be set.
    EXPECT_TRUE(o.setoption("setoption name NoOutput value true"));
    EXPECT_TRUE(o.wahr(OPT_NOOUTPUT));
    EXPECT_TRUE(o.setoption("setoption name Resign value 100"));
    EXPECT_EQ(o.wert(OPT_RESIGN), 400);
}

TEST(Optionen, StringValuesKeepInnerBlanksAndAreCut)
{
    Optionen_t o(OPTIONEN_NORMAL);
    EXPECT_TRUE(o.setoption("setoption name BookFile value my book.opn"));
    EXPECT_EQ(zustand(o, OPT_BOOKFILE), Zustand(0, "my book.opn"));
    EXPECT_TRUE(o.setoption("setoption name TimeLogfile value 12 logs"));
    EXPECT_EQ(o.wert(OPT_TIME_LOGFILE), 12);

    std::string lang = "setoption name BitbasePath value " + std::string(1000, 'x');
    EXPECT_TRUE(o.setoption(lang.c_str()));
    EXPECT_EQ(std::string(o.text(OPT_BITBASE_PATH)), std::string(256, 'x'));
    char kopie[8];
    o.textKopieren(OPT_BITBASE_PATH, kopie, sizeof kopie);
    EXPECT_STREQ(kopie, "xxxxxxx");
}

TEST(Optionen, ListOptionsFollowTheirWordList)
{
    static const OptionEintrag_t TABELLE[] = {
        {OPTION_LISTE, 1, "Style", "Normal", 0, 0, "Solid var Normal var  Risky"},
        {0, 0, nullptr, nullptr, 0, 0, nullptr},
    };
    Optionen_t o(TABELLE);
    EXPECT_EQ(o.wert(0), 1);
    EXPECT_TRUE(o.setoption("setoption name Style value Risky  "));
    EXPECT_EQ(zustand(o, 0), Zustand(2, "Risky"));
    EXPECT_FALSE(o.setoption("setoption name Style value Wild"));
    EXPECT_EQ(o.wert(0), -1);
    EXPECT_TRUE(o.setzen(0, 0));
    EXPECT_STREQ(o.text(0), "Solid");
    EXPECT_FALSE(o.setzen(0, 3));
    EXPECT_EQ(listenPosition("a var b", "b", 1), 1);
    EXPECT_EQ(listenPosition("a var bc", "b", 1), -1);

    Zeilen z;
    optionenAuflisten(TABELLE, z);
    ASSERT_EQ(z.zeilen.size(), 1u);
    EXPECT_EQ(z.zeilen[0], "option name Style type combo default Normal var Solid var Normal var  Risky");
}

TEST(Optionen, ListingShowsVisibleOptionsInTableOrder)
{
    Zeilen z;
    optionenAuflisten(OPTIONEN_NORMAL, z);
    const std::vector<std::string> erwartet = {
        "option name Hash type spin default 3 min 1 max 32000",
        "option name Ponder type check default true",
        "option name OwnBook type check default true",
        "option name Clear Hash type button",
        "option name MultiPV type spin default 1 min 1 max 10",
        "option name MultiPV_Score type spin default 0 min 0 max 1000",
        "option name UCI_Chess960 type check default false",
        "option name BookFile type string default Velkaris.opn",
        "option name UCI_Opponent type string default none none human none",
        "option name BitbaseCache type spin default 0 min 0 max 100",
        "option name BitbasePath type string default .",
        "option name NumberOfProcessors type spin default 1 min 1 max 24",
        "option name TimeLogfile type string default nul:",
    };
    EXPECT_EQ(z.zeilen, erwartet);
}

TEST(Zahlen, SaturateInsteadOfOverflowing)
{
    int64_t v = 7;
    EXPECT_EQ(ganzzahlLesen("abc", v), nullptr);
    EXPECT_EQ(v, 7);
    EXPECT_EQ(ganzzahlLesen("-", v), nullptr);
    EXPECT_NE(ganzzahlLesen("  -42x", v), nullptr);
    EXPECT_EQ(v, -42);
    for (auto [text, grenze] : {std::pair{"9223372036854775807", INT64_MAX}, {"9223372036854775808", INT64_MAX},
                                {"-9223372036854775808", INT64_MIN}, {"-99999999999999999999999", INT64_MIN}}) {
        ganzzahlLesen(text, v);
        EXPECT_EQ(v, grenze) << text;
    }
    const char* rest = ganzzahlLesen("123456789012345678901234567890 go", v);
    EXPECT_EQ(v, INT64_MAX);
    EXPECT_STREQ(rest, " go");
    int32_t w = 0;
    ganzzahlLesen("5000000000", w);
    EXPECT_EQ(w, INT32_MAX);
    ganzzahlLesen("-5000000000", w);
    EXPECT_EQ(w, INT32_MIN);
}
