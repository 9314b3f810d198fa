#include "../test_hilfen.h"

#include "protocol/xboard_zeit.h"

namespace {
Zeitkontrolle_t level(const char* text)
{
    Zeitkontrolle_t tk = Zeitkontrolle_t::standard();
    EXPECT_TRUE(levelLesen(text, tk)) << text;
    return tk;
}

// Moves to go and increment of the go command after k whole moves.
std::pair<int, double> goUhr(const char* levelText, int k)
{
    const GoUhr_t g = goUhrWaehlen(level(levelText), k);
    return {g.zuegeBisKontrolle, g.inkrementMs};
}
using P = std::pair<int, double>;
} // namespace

TEST(XBoardZeit, LevelInAllThreeFormsOrRefused)
{
    // {moves, base, increment} of each period; -1 moves for an absent one.
    using Tripel = std::tuple<int, double, double>;
    auto perioden = [](const Zeitkontrolle_t& tk) {
        return std::array<Tripel, 3>{Tripel{tk.periode[0].zuege, tk.periode[0].basisMs, tk.periode[0].inkrementMs},
                                     Tripel{tk.periode[1].zuege, tk.periode[1].basisMs, tk.periode[1].inkrementMs},
                                     Tripel{tk.periode[2].zuege, tk.periode[2].basisMs, tk.periode[2].inkrementMs}};
    };
    const Tripel weg{-1, 0, 0};
    EXPECT_EQ(perioden(level("40 5 0")), (std::array<Tripel, 3>{Tripel{40, 300000, 0}, weg, weg}));
    EXPECT_EQ(perioden(level(" 0 2:30 1.5")), (std::array<Tripel, 3>{Tripel{0, 150000, 1500}, weg, weg}));
    EXPECT_EQ(perioden(level("40 120 0 20 60 0 0 30 0.25")),
              (std::array<Tripel, 3>{Tripel{40, 7200000, 0}, Tripel{20, 3600000, 0}, Tripel{0, 1800000, 250}}));
    // Huge numbers saturate instead of wrapping.
    const Zeitkontrolle_t gross = level("99999999999999999999 99999999999999999999 99999999999999999999");
    EXPECT_EQ(gross.periode[0].zuege, INT32_MAX);
    EXPECT_GT(gross.periode[0].basisMs, 1e12);
    EXPECT_LE(gross.periode[0].inkrementMs, 1e18);

    for (const char* text : {"40 5", "40 5 0 30", "", "x 5 0", "40 x 0", "40 5 x", "40 5:x 0", "-1 5 0", "40 -5 0",
                             "40 5 -1", "40 5 0 20 5"}) {
        Zeitkontrolle_t tk = level("40 5 0");
        EXPECT_FALSE(levelLesen(text, tk)) << text;
        EXPECT_EQ(perioden(tk), perioden(level("40 5 0"))) << text;
    }
}

TEST(XBoardZeit, MovesToGoWalkThePeriods)
{
    const struct {
        const char* level;
        int k;
        P erwartet;
    } faelle[] = {
        {"40 5 0", 0, {40, 0}},   // the first move of the game
        {"40 5 0", 39, {1, 0}},   // the last move of the period
        {"40 5 0", 40, {40, 0}},  // a single period repeats
        {"40 5 0", 95, {25, 0}},
        {"0 5 2", 77, {0, 2000}}, // the whole game: no count
        {"40 120 1 20 60 2 0 30 3", 10, {30, 1000}},
        {"40 120 1 20 60 2 0 30 3", 45, {15, 2000}},
        {"40 120 1 20 60 2 0 30 3", 60, {0, 3000}},
        {"40 120 1 20 60 2", 59, {1, 2000}}, // the second period repeats
        {"40 120 1 20 60 2", 60, {20, 2000}},
        {"30 10 0 10 5 0 5 1 4", 49, {1, 4000}}, // the third one repeats too
    };
    for (const auto& f : faelle) EXPECT_EQ(goUhr(f.level, f.k), f.erwartet) << f.level << " k=" << f.k;
}

TEST(XBoardZeit, ClockBonusBringsTheNextPeriodsTime)
{
    const struct {
        const char* level;
        int k;
        double bonus;
    } faelle[] = {
        {"40 5 0", 38, 0},
        {"40 5 0", 39, 300000}, // the 40th move opens a new period
        {"40 5 0", 79, 300000},
        {"0 5 2.5", 10, 2500},
        {"40 120 1 20 60 2", 39, 3601000},    // into the second period
        {"40 120 1 20 60 2", 40, 2000},
        {"40 120 1 20 60 2", 59, 3602000},    // the second repeats
        {"40 120 0 20 60 0 0 30 7", 59, 1800000},
        {"40 120 0 20 60 0 0 30 7", 61, 7000},
    };
    for (const auto& f : faelle) EXPECT_EQ(uhrBonus(level(f.level), f.k), f.bonus) << f.level << " k=" << f.k;
}

TEST(XBoardZeit, DecimalNumbers)
{
    const std::pair<const char*, double> faelle[] = {
        {"5", 5}, {" 0.25", 0.25}, {"-3", -3}, {"1.", 1}, {".5", 0.5}, {"1e999", 1}, {"99999999999999999999", 1e15},
    };
    for (const auto& [text, erwartet] : faelle) {
        double w = 0;
        EXPECT_NE(dezimalLesen(text, w), nullptr) << text;
        EXPECT_DOUBLE_EQ(w, erwartet) << text;
    }
    double w = 7;
    for (const char* text : {"", "-", ".", "x1"}) EXPECT_EQ(dezimalLesen(text, w), nullptr) << text;
    EXPECT_EQ(w, 7);
}
