#include "bitbase/blockcoder.h"
#include "bitbase/cache.h"
#include "bitbase/datei.h"
#include "bitbase/index.h"
#include "bitbase_hilfen.h"

namespace {

TEST(BitbaseCache, SizeAccounting)
{
    BitbaseCache_t c(0);
    EXPECT_FALSE(c.aktiv());
    EXPECT_EQ(c.lookup("KDK", 0, false), -1);
    // Bytes, blocks held at most (568 bytes each, at least 95), buckets (a power of two).
    for (auto [bytes, bloecke, buckets] : {std::tuple<uint64_t, uint64_t, uint64_t>{1, 95, 64}, {1048576, 1846, 1024},
                                           {568 * 2 * 1000, 2000, 1024}, {200000000, 352112, 262144}}) {
        c.setSize(bytes);
        EXPECT_EQ(std::tuple(c.aktiv(), c.maxBloecke(), c.bucketAnzahl(), c.belegteBloecke()),
                  std::tuple(true, bloecke, buckets, uint64_t(0))) << bytes;
    }
    c.setSize(0);
    EXPECT_FALSE(c.aktiv());
}

// KDKT has 1280 blocks; block k is 512 copies of the byte k & 255, so bit
// i of block k is (k >> i) & 1 for every byte.
struct MusterDateien {
    TestVerzeichnis v;
    MusterDateien()
    {
        BbSchreiber_t s(1280);
        std::vector<uint8_t> b(BB_BLOCK);
        for (int k = 0; k < 1280; ++k) {
            std::fill(b.begin(), b.end(), uint8_t(k));
            s.block(b.data());
        }
        EXPECT_TRUE(s.schreiben(bbDateiName(v.pfad, "KDKT")));
    }
    static uint64_t index(uint64_t block, int bitNr) { return block * 4096 + 8 * 17 + uint64_t(bitNr); }
    static int bit(uint64_t block, int bitNr) { return int((block & 255) >> bitNr) & 1; }
};

TEST(BitbaseCache, EachBlockIsReadOnceUntilTheSizeChanges)
{
    MusterDateien m;
    BitbaseCache_t c(1048576);
    c.setPath(m.v.pfad);
    EXPECT_EQ(c.lookup("KDKT", m.index(5, 0), false), 1);
    EXPECT_EQ(c.lookup("KDKT", m.index(5, 1), false), 0);
    EXPECT_EQ(c.gelesen(), 1u);
    // Only cached blocks: no file is touched.
    EXPECT_EQ(c.lookup("KDKT", m.index(6, 1), true), -1);
    EXPECT_EQ(c.lookup("KDKT", m.index(6, 1), false), 1);
    EXPECT_EQ(std::pair(c.gelesen(), c.belegteBloecke()), std::pair(uint64_t(2), uint64_t(2)));
    // The same size keeps the blocks, another one empties the cache.
    c.setSize(1048576);
    EXPECT_EQ(c.lookup("KDKT", m.index(6, 1), true), 1);
    c.setSize(2 * 1048576);
    EXPECT_EQ(c.lookup("KDKT", m.index(6, 1), true), -1);
    // A new path keeps what is cached; a missing file costs no block.
    EXPECT_EQ(c.lookup("KDKT", m.index(6, 1), false), 1);
    c.setPath(m.v.pfad + "/nirgends");
    EXPECT_EQ(c.lookup("KDKT", m.index(6, 1), false), 1);
    EXPECT_EQ(c.lookup("KDKT", m.index(7, 0), false), -1);
    EXPECT_EQ(c.lookup("KTKD", m.index(7, 0), false), -1);
    EXPECT_EQ(c.lookup("KXKD", 0, false), -1);
    EXPECT_EQ(c.belegteBloecke(), 1u);
}

TEST(BitbaseCache, FullCacheEvictsAndStillAnswers)
{
    MusterDateien m;
    BitbaseCache_t c(1);
    c.setPath(m.v.pfad);
    ASSERT_EQ(c.maxBloecke(), 95u);
    for (uint64_t k = 0; k < 1280; ++k) {
        for (int b = 0; b < 8; b += 3) ASSERT_EQ(c.lookup("KDKT", m.index(k, b), false), m.bit(k, b)) << k;
        ASSERT_LE(c.belegteBloecke(), 95u);
    }
    EXPECT_EQ(std::pair(c.belegteBloecke(), c.gelesen()), std::pair(uint64_t(95), uint64_t(1280)));
    EXPECT_EQ(c.lookup("KDKT", m.index(1279, 1), true), m.bit(1279, 1)); // the block read last is still there
    for (uint64_t k = 0; k < 1280; k += 7) ASSERT_EQ(c.lookup("KDKT", m.index(k, 4), false), m.bit(k, 4)) << k;
}

TEST(BitbaseProbe, NeedsBothFilesUnlessTheFirstSaysWon)
{
    MusterDateien m;
    BitbaseCache_t c(1048576);
    c.setPath(m.v.pfad);
    auto seite = [](std::initializer_list<std::pair<int, int>> l) { // (type, square) pairs
        BbSeite_t s;
        for (auto [typ, feld] : l) s.typ[s.anzahl] = uint8_t(typ), s.feld[s.anzahl++] = uint8_t(feld);
        return s;
    };
    const BbSeite_t w = seite({{5, 35}, {6, 63}}), s = seite({{4, 7}, {6, 9}});
    // No KTKD: whatever KDKT says but "won" gives no answer.
    int r = 7;
    const uint64_t i = bbIndex(bbStellung("KDKT", {63, 35, 9, 7}));
    const bool gewonnen = MusterDateien::bit(i >> 12, int(i & 7)) == 1;
    EXPECT_EQ(bitbaseProbe(c, w, s, 0, 0, false, r), gewonnen);
    EXPECT_TRUE(!gewonnen || r == 1) << r;
    // More than five pieces, a side without a king, two kings on one side,
    // no cache: no answer.
    EXPECT_FALSE(bitbaseProbe(c, seite({{6, 0}, {5, 1}, {5, 2}}), seite({{6, 63}, {4, 62}, {4, 61}}), 0, 0, false, r));
    EXPECT_FALSE(bitbaseProbe(c, seite({{5, 1}}), seite({{6, 63}}), 0, 0, false, r));
    EXPECT_FALSE(bitbaseProbe(c, seite({{6, 1}, {6, 2}}), seite({{6, 63}}), 0, 0, false, r));
    BitbaseCache_t aus(0);
    EXPECT_FALSE(bitbaseProbe(aus, w, s, 0, 0, false, r));
}

} // namespace
