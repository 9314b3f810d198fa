#include "../test_hilfen.h"

namespace {
Suchgrenzen_t mitUhr(int64_t zeit, int64_t inkrement, int32_t zuege)
{
    Suchgrenzen_t g;
    g.fuellen({.zeit = zeit, .inkrement = inkrement, .zuegeBisKontrolle = zuege}, false, 1000);
    return g;
}

// Target, iteration and hard time limit; node limit per iteration and in
// all.
std::array<int64_t, 3> zeiten(const Suchgrenzen_t& g) { return {g.zielZeit, g.iterationsZeit, g.harteZeit}; }
using Z = std::array<int64_t, 3>;
auto knoten(const Suchgrenzen_t& g) { return std::pair(g.iterationsKnoten, g.harteKnoten); }
const Z OHNE_ZEIT{ZEIT_UNBEGRENZT, ZEIT_UNBEGRENZT, ZEIT_UNBEGRENZT};
const std::pair OHNE_KNOTEN{KNOTEN_UNBEGRENZT, KNOTEN_UNBEGRENZT};

Suchgrenzen_t gefuellt(const GoParameter_t& p, bool virtuell = false)
{
    Suchgrenzen_t g;
    g.fuellen(p, virtuell, 0);
    return g;
}
} // namespace

// With 99 moves to go (also for movestogo 0 or above 99) the divisor is
// e = 55 tanh(1.05 * 99 / 55) + 0.5 = 53.0455 and p = 1.6^(1 - e) is about
// 2e-11, so the iteration limit is A / 10 and the hard limit A / 7.
TEST(Suchgrenzen, ClockWithManyMovesToGo)
{
    // A = 60000 - 200 = 59800: target 59800 / 53.0455 = 1127, iteration
    // limit 5980 (5980 * 1.2 = 7176 is below the hard 8542), then cut to
    // 4 * target = 4508.
    for (int32_t m : {0, 99, 100, -5}) {
        Suchgrenzen_t g = mitUhr(60000, 0, m);
        EXPECT_EQ(zeiten(g), (Z{1127, 4508, 8542})) << m;
        EXPECT_EQ(g.start, 1000);
    }
    // With 40 moves e = 35.8768: target 1666, iteration 5980, hard 8542.
    Suchgrenzen_t g = mitUhr(60000, 0, 40);
    EXPECT_EQ(zeiten(g), (Z{1666, 5980, 8542}));
    EXPECT_EQ(knoten(g), OHNE_KNOTEN);
    EXPECT_EQ(g.maxTiefe, 1000);
}

TEST(Suchgrenzen, ClockNearlyEmptyOneMoveToGoAndIncrement)
{
    // 100 ms left: A = max(-100, 50) = 50; target trunc(50 / 53.05) = 0,
    // hard 50 / 7 = 7, iteration 5 but at most 4 * target = 0.
    Suchgrenzen_t g = mitUhr(100, 0, 0);
    EXPECT_EQ(zeiten(g), (Z{0, 0, 7}));
    // No further iteration after the first, whatever the instability.
    EXPECT_FALSE(g.weiterIterierenBei(10, 0, 1000.0, 0));
    // A negative clock (the interface is late) behaves the same.
    EXPECT_EQ(mitUhr(-5000, 0, 0).harteZeit, 7);

    // e = 55 tanh(1.05 / 55) + 0.5 = 1.5499, p = 1.6^-0.5499 = 0.7720.
    // A = 800: target 516; iteration (0.0228 + 0.772) * 800 = 636;
    // hard (0.0326 + 0.772) * 800 = 643; 636 * 1.2 > 643, so iteration
    // 643 / 1.2 = 535; 2 * 516 > 535, so target 535 / 2 = 267.
    EXPECT_EQ(zeiten(mitUhr(1000, 0, 1)), (Z{267, 535, 643}));

    // A = 9800, R = 4900: target 184 + 4900 = 5084; iteration 980 + 14700;
    // hard min(1400 + 19600, 9800) = 9800; iteration 9800 / 1.2 = 8166;
    // target 8166 / 2 = 4083.
    EXPECT_EQ(zeiten(mitUhr(10000, 5000, 0)), (Z{4083, 8166, 9800}));
    // An increment of at most 100 ms is not counted.
    EXPECT_EQ(mitUhr(60000, 100, 0).zielZeit, 1127);
}

TEST(Suchgrenzen, HugeClockValuesDoNotOverflow)
{
    Suchgrenzen_t g = mitUhr(INT64_MAX, INT64_MAX, 0);
    EXPECT_GT(g.zielZeit, 0);
    EXPECT_LE(g.zielZeit, g.iterationsZeit);
    EXPECT_LE(g.harteZeit, ZEIT_UNBEGRENZT);
    EXPECT_EQ(mitUhr(INT64_MIN, INT64_MIN, 0).harteZeit, 7);
}

TEST(Suchgrenzen, OtherKindsOfLimit)
{
    // (Depth, mate, movetime and node limits on their own: the UCI tests.)
    EXPECT_EQ(gefuellt({.tiefe = 9, .matt = 2}).maxTiefe, 7);
    EXPECT_EQ(gefuellt({.matt = INT32_MAX}).maxTiefe, INT32_MAX);
    EXPECT_EQ(zeiten(gefuellt({.zeit = 60000, .zugzeit = 300})), (Z{ZEIT_UNBEGRENZT, ZEIT_UNBEGRENZT, 300}));

    Suchgrenzen_t g = gefuellt({.knoten = 50});
    EXPECT_EQ(zeiten(g), OHNE_ZEIT);
    EXPECT_EQ(gefuellt({.knoten = INT64_MAX}).harteKnoten, KNOTEN_UNBEGRENZT);

    // "infinite" wins over everything and clears the earlier node limit.
    g.fuellen({.tiefe = 3, .knoten = 50, .unendlich = true}, true, 0);
    EXPECT_EQ(std::pair(zeiten(g), knoten(g)), std::pair(OHNE_ZEIT, OHNE_KNOTEN));
    EXPECT_EQ(std::pair(g.maxTiefe, g.virtuelleUhr), std::pair(1000, true));
}

// What the search asks: must it stop now, is another iteration worth its
// time?
TEST(Suchgrenzen, StopNowAndAnotherIteration)
{
    Suchgrenzen_t g = gefuellt({.zugzeit = 300});
    EXPECT_FALSE(g.jetztStoppenBei(1000000, 299));
    EXPECT_TRUE(g.jetztStoppenBei(1000000, 300));
    g = gefuellt({.knoten = 1000});
    EXPECT_FALSE(g.jetztStoppenBei(9999, 1000000));
    EXPECT_TRUE(g.jetztStoppenBei(10000, 0));
    // With the virtual clock the passed value stands for the time.
    g = gefuellt({.zugzeit = 500}, true);
    EXPECT_FALSE(g.jetztStoppen(499));
    EXPECT_TRUE(g.jetztStoppen(500));

    g = mitUhr(60000, 0, 0); // target 1127, iteration 4508
    // The last elapsed time E that still allows another iteration, by
    // instability. 2.2 * E must stay within the iteration limit: 2049 * 2.2
    // = 4507.8. A stable search: 17 / (1.2 E) > 25 / 1127 holds up to
    // E = 638; negative instability counts as none. Instability 8 buys
    // (25 / 17) as much time: up to E = 939.
    for (auto [instabil, e] : {std::pair{1000.0, 2049}, {0.0, 638}, {-50.0, 638}, {8.0, 939}}) {
        EXPECT_TRUE(g.weiterIterierenBei(0, 5, instabil, e)) << instabil;
        EXPECT_FALSE(g.weiterIterierenBei(0, 5, instabil, e + 1)) << instabil;
    }

    g = gefuellt({.tiefe = 3});
    EXPECT_TRUE(g.weiterIterierenBei(0, 2, 0.0, 100000));
    EXPECT_FALSE(g.weiterIterierenBei(0, 3, 0.0, 0));

    g = gefuellt({.knoten = 1000}, true);
    EXPECT_TRUE(g.weiterIterieren(999, 10, 0.0));
    EXPECT_FALSE(g.weiterIterieren(1000, 10, 0.0));
}
