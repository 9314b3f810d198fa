#include "../test_hilfen.h"

#include "shell/zufall.h"

// First draw with fifth word 12345, worked by hand:
//   s0 = 76543210 * 56789 + 33333 mod 2^32 = 305482471
//   t  = 123456789 ^ (123456789 << 11) mod 2^32 = 3644024085
//   s4 = 12345 ^ (12345 >> 19) ^ t ^ (t >> 8) = 3656017481
//   result = s4 + s0 mod 2^32 = 3961499952
TEST(Zufall, FixedSeedDrawsAndRanges)
{
    Zufallsgenerator z(12345), a(12345), b(12345);
    for (uint32_t e : {3961499952u, 286765150u, 1685348748u, 216833137u, 1828779964u}) EXPECT_EQ(z.ziehen(), e);
    // 3961499952 / 4294967295 = 0.922358583873687
    EXPECT_NEAR(a.reell(0.45, 0.55), 0.45 + 0.0922358583873687, 1e-15);
    for (int32_t e : {3, 9, 7, 4, 7}) EXPECT_EQ(b.ganz(3, 10), e); // 3 + draw mod 8
    EXPECT_EQ(b.ganz(5, 5), 5);
    EXPECT_EQ(b.ganz(5, 4), 5); // empty range: the lower end
    for (int i = 0; i < 1000; ++i) {
        b.ganz(INT32_MIN, INT32_MAX); // the full range must not overflow
        const double r = b.reell(-1.0, 1.0);
        ASSERT_TRUE(r >= -1.0 && r <= 1.0) << r;
    }
}

TEST(Zufall, SharedInstanceServesSeveralThreads)
{
    Zufallsgenerator& g = Zufallsgenerator::gemeinsam();
    EXPECT_EQ(&g, &Zufallsgenerator::gemeinsam());
    std::vector<std::thread> faeden;
    for (int t = 0; t < 4; ++t)
        faeden.emplace_back([&g] {
            for (int i = 0; i < 20000; ++i) g.ziehen();
        });
    for (auto& f : faeden) f.join();
}
