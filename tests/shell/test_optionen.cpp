#include "../test_hilfen.h"
#include "shell/zahlen.h"

namespace {
// An option's value and its text.
using Zustand = std::pair<int32_t, std::string>;
Zustand zustand(const Optionen_t& o, int i) { return {o.wert(i), o.text(i)}; }
} // namespace

TEST(Optionen, DefaultsOfTheNormalTable)
{
    Optionen_t o(OPTIONEN_NORMAL);
    ASSERT_EQ(o.anzahl(), 16);
    // Values are derived from the default texts by type.
    EXPECT_EQ(std::tuple(o.wert(OPT_HASH), o.wahr(OPT_PONDER), o.wert(OPT_BOOKFILE), o.wert(OPT_RESIGN)), std::tuple(3, true, 0, 700));
    EXPECT_EQ(zustand(o, OPT_CLEAR_HASH), Zustand(0, "false"));
    for (auto [name, index] : {std::pair{"Resign", int(OPT_RESIGN)}, {"NoOutput", OPT_NOOUTPUT}, {"Hash", OPT_HASH},
                               {"hash", -1}, {"Has", -1}})
        EXPECT_EQ(o.finden(name), index) << name;

    Optionen_t leer(OPTIONEN_LEER);
    EXPECT_EQ(leer.anzahl(), 0);
    EXPECT_EQ(leer.finden("Resign"), -1);
    EXPECT_FALSE(leer.setoption("setoption name Hash value 5"));
}

// "setoption" lines one after the other on the same table: whether each is
// taken, then the value (and text) of one option.
TEST(Optionen, SetoptionLines)
{
    const char* hash = "setoption name Hash value ";
    const std::string voll(256, 'x');
    const struct {
        std::string zeile;
        bool ok;
        int option;
        int32_t wert;
        const char* text; // nullptr: not looked at
    } faelle[] = {
        // Spin values are clamped, never refused; the text is the number kept.
        {hash + std::string("0"), true, OPT_HASH, 1, "1"},
        {hash + std::string("99999"), true, OPT_HASH, 32000, "32000"},
        {hash + std::string("abc"), true, OPT_HASH, 1, "1"},
        {hash + std::string("99999999999999999999999999"), true, OPT_HASH, 32000, "32000"},
        {hash + std::string("-99999999999999999999999"), true, OPT_HASH, 1, "1"},
        {"setoption   name   Hash   value   64", true, OPT_HASH, 64, "64"},
        // Malformed lines change nothing; MultiPVx finds MultiPV, but
        // "value " must follow the name directly.
        {"setoption name Hash", false, OPT_HASH, 64, nullptr},
        {"setoption name Hash value", false, OPT_HASH, 64, nullptr},
        {"setoption Hash value 5", false, OPT_HASH, 64, nullptr},
        {"setoptionname Hash value 5", false, OPT_HASH, 64, nullptr},
        {"setoption name Unknown value 5", false, OPT_HASH, 64, nullptr},
        {"setoption name", false, OPT_HASH, 64, nullptr},
        {"", false, OPT_HASH, 64, nullptr},
        {"setoption name MultiPVx value 3", false, OPT_MULTIPV, 1, nullptr},
        // The longest name wins.
        {"setoption name MultiPV_Score value 50", true, OPT_MULTIPV, 1, nullptr},
        {"setoption name MultiPV value 4", true, OPT_MULTIPV_SCORE, 50, nullptr},
        {"", false, OPT_MULTIPV, 4, nullptr},
        // Buttons and checks.
        {"setoption name Clear Hash", true, OPT_CLEAR_HASH, 1, "true"},
        {"setoption name Ponder value falsely", true, OPT_PONDER, 0, "false"},
        {"setoption name Ponder value true", true, OPT_PONDER, 1, nullptr},
        {"setoption name Ponder value yes", false, OPT_PONDER, 1, nullptr},
        // Hidden options are not listed but can be set.
        {"setoption name NoOutput value true", true, OPT_NOOUTPUT, 1, nullptr},
        {"setoption name Resign value 100", true, OPT_RESIGN, 400, nullptr},
        // Strings keep inner blanks; a number in front is their value.
        {"setoption name BookFile value my book.opn", true, OPT_BOOKFILE, 0, "my book.opn"},
        {"setoption name TimeLogfile value 12 logs", true, OPT_TIME_LOGFILE, 12, nullptr},
        // A string fills its 256 characters.
        {"setoption name BitbasePath value " + voll, true, OPT_BITBASE_PATH, 0, voll.c_str()},
    };
    Optionen_t o(OPTIONEN_NORMAL);
    for (const auto& f : faelle) {
        EXPECT_EQ(o.setoption(f.zeile.c_str()), f.ok) << f.zeile;
        EXPECT_EQ(o.wert(f.option), f.wert) << f.zeile;
        if (f.text) {
            EXPECT_STREQ(o.text(f.option), f.text) << f.zeile;
        }
    }
    // The search resets the button when it has cleared the table; set by
    // value, a button's text is the number, and a spin is clamped.
    o.knopfLoesen(OPT_CLEAR_HASH);
    EXPECT_EQ(zustand(o, OPT_CLEAR_HASH), Zustand(0, "false"));
    EXPECT_TRUE(o.setzen(OPT_CLEAR_HASH, 1));
    EXPECT_STREQ(o.text(OPT_CLEAR_HASH), "1");
    EXPECT_TRUE(o.setzen(OPT_HASH, 100000));
    EXPECT_EQ(zustand(o, OPT_HASH), Zustand(32000, "32000"));
    // Copied into a small buffer, a text is cut to fit.
    char kopie[8];
    o.textKopieren(OPT_BITBASE_PATH, kopie, sizeof kopie);
    EXPECT_STREQ(kopie, "xxxxxxx");
    // A longer string is refused whole (cut short it could name another
    // file) and says why.
    const char* grund = nullptr;
    EXPECT_FALSE(o.setoption(("setoption name BookFile value " + std::string(257, 'y')).c_str(), &grund));
    EXPECT_STREQ(o.text(OPT_BOOKFILE), "my book.opn");
    ASSERT_NE(grund, nullptr);
    EXPECT_EQ(o.zielOption("setoption name BookFile value x"), OPT_BOOKFILE);
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

    Mitschrift<StummeAusgabe> z;
    optionenAuflisten(TABELLE, z);
    ASSERT_EQ(z.zeilen.size(), 1u);
    EXPECT_EQ(z.zeilen[0], "option name Style type combo default Normal var Solid var Normal var  Risky");
}

// (The listing of the normal table: the scripted UCI session.)
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
