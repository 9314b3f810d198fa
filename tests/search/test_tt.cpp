#include "../test_hilfen.h"

#include <new>

#include "search/tt.h"

namespace {

constexpr uint64_t MB = 1048576;

// Keys sharing their high half land in the same bucket.
uint64_t schluessel(uint32_t hoch, uint32_t tief) { return (uint64_t(hoch) << 32) | tief; }

TTDaten_t daten(int32_t wert, int32_t tiefe, int32_t grenze = TT_OBERGRENZE, uint32_t zug = 0, int32_t nf = 0,
                int32_t drohung = 0)
{
    return {wert, tiefe, nf, grenze, zug, drohung};
}

auto felderVon(const TTDaten_t& d) { return std::tuple(d.wert, d.tiefe, d.grenze, d.zug, d.nullfenster, d.drohung); }

// A table of one megabyte.
struct Tabelle : Transpositionstabelle_t {
    Tabelle() { groesseSetzen(MB); }
};

bool hat(Transpositionstabelle_t& tt, uint64_t k)
{
    TTDaten_t d;
    return tt.lesen(k, 0, d);
}

// Fills a bucket with four keys (entries 0..3 in order) and stores a fifth;
// returns the index of the entry that gave way, -1 if none did.
int opferBei(const TTDaten_t (&alt)[4])
{
    Tabelle tt;
    for (uint32_t i = 0; i < 4; ++i) tt.schreiben(schluessel(77, i + 1), 0, alt[i]);
    tt.schreiben(schluessel(77, 99), 0, daten(1, 1));
    EXPECT_TRUE(hat(tt, schluessel(77, 99)));
    int opfer = -1;
    for (uint32_t i = 0; i < 4; ++i)
        if (!hat(tt, schluessel(77, i + 1))) opfer = int(i);
    return opfer;
}

int zuteilungen = 0;
uint64_t groessteErlaubt = 0;
std::vector<size_t> versuche;

void* zuteilenBis(size_t bytes)
{
    versuche.push_back(bytes);
    if (bytes > groessteErlaubt) return nullptr;
    ++zuteilungen;
    return ::operator new(bytes, std::align_val_t{64}, std::nothrow);
}
void freigebenAusgerichtet(void* p) { ::operator delete(p, std::align_val_t{64}); }

} // namespace

TEST(TT, SizeFromTheHashOptionAndPacking)
{
    Transpositionstabelle_t tt;
    EXPECT_FALSE(tt.hatTabelle());
    // 1,048,576 / 16 - 4; below the minimum of 1,600 bytes; rounded down to
    // whole entries.
    for (auto [bytes, n] : {std::pair{MB, uint64_t(65532)}, {100, 96}, {16 * MB + 8, 16 * MB / 16 - 4}}) {
        tt.groesseSetzen(bytes);
        EXPECT_EQ(std::tuple(tt.hatTabelle(), tt.anzahl(), tt.alter()), std::tuple(true, n, 1u)) << bytes;
    }

    // Every field comes back, even at its extremes, without spilling into its
    // neighbours.
    for (const TTDaten_t& d : {daten(12345, 8191, TT_EXAKT, 0xBEEF, 5, TT_DROHUNG), daten(-500000, 0, TT_UNTERGRENZE, 0, 127, 0),
                               daten(500000, 1, TT_OBERGRENZE, 0xFFFF, 0, 0)})
        EXPECT_EQ(felderVon(tt::entpacken(tt::packen(d, 0, 7), 0)), felderVon(d)) << d.wert;
    EXPECT_EQ(tt::alterVon(tt::packen(daten(1, 1), 0, 7)), 7u);
    EXPECT_EQ(tt::entpacken(tt::packen(daten(0, 0, TT_OBERGRENZE, 0x1234FFFF), 0, 1), 0).zug, 0xFFFFu); // 16-bit move
}

TEST(TT, MateScoresAreKeptRelativeToTheNode)
{
    Tabelle tt;
    const uint64_t k = schluessel(5, 5);
    EXPECT_EQ(tt::packen(daten(499990, 6), 4, 1) >> 44, uint64_t(499994 + 500000));
    for (auto [grenze, vorzeichen] : {std::pair{TT_EXAKT, 1}, {TT_OBERGRENZE, -1}}) {
        tt.schreiben(k, 4, daten(vorzeichen * 499990, 6, grenze));
        TTDaten_t d;
        ASSERT_TRUE(tt.lesen(k, 6, d));
        EXPECT_EQ(d.wert, vorzeichen * 499988) << vorzeichen;
    }

    // The thresholds: 450,000 and -450,000 are mates, 449,999 and -449,999 not.
    for (auto [wert, gespeichert] : {std::pair{450000, 450003}, {-450000, -450003}, {449999, 449999}, {-449999, -449999}})
        EXPECT_EQ(tt::wertSpeichern(wert, 3), gespeichert) << wert;
    // Window bounds beyond a mate are clamped instead of corrupting the word.
    EXPECT_EQ(tt::entpacken(tt::packen(daten(-500000, 0), 7, 1), 0).wert, -500000);
    EXPECT_EQ(tt::entpacken(tt::packen(daten(500000, 0), 7, 1), 0).wert, 500000);
}

TEST(TT, ReplacementWhenTheWholeBucketIsCurrent)
{
    // The same key is overwritten even by a shallower result.
    Tabelle tt;
    tt.schreiben(schluessel(9, 1), 0, daten(100, 40, TT_EXAKT, 0x1111));
    tt.schreiben(schluessel(9, 1), 0, daten(-30, 2, TT_OBERGRENZE, 0x2222));
    TTDaten_t d;
    ASSERT_TRUE(tt.lesen(schluessel(9, 1), 0, d));
    EXPECT_EQ(felderVon(d), felderVon(daten(-30, 2, TT_OBERGRENZE, 0x2222)));
    EXPECT_FALSE(hat(tt, schluessel(9, 2)));
    // The shallowest goes.
    EXPECT_EQ(opferBei({daten(0, 10), daten(0, 4), daten(0, 6), daten(0, 8)}), 1);
    // Equal depth: upper before lower before exact.
    const TTDaten_t exakt = daten(0, 6, TT_EXAKT), unten = daten(0, 6, TT_UNTERGRENZE);
    EXPECT_EQ(opferBei({exakt, unten, daten(0, 6, TT_OBERGRENZE), unten}), 2);
    EXPECT_EQ(opferBei({exakt, unten, exakt, exakt}), 1);
    // Then more zero-window plies (a smaller 127 - z field) first.
    EXPECT_EQ(opferBei({daten(0, 6, 0, 0, 3), daten(0, 6, 0, 0, 9), daten(0, 6, 0, 0, 1), daten(0, 6, 0, 0, 3)}), 1);
    // Complete ties go to the later entry; score, move and threat flag do not count.
    EXPECT_EQ(opferBei({daten(5, 6, 0, 1, 2, TT_DROHUNG), daten(-7, 6, 0, 2, 2), daten(9, 6, 0, 3, 2, TT_DROHUNG),
                        daten(1, 9)}),
              2);
}

TEST(TT, EntriesOfEarlierSearchesGoFirstAndProbesRefreshThem)
{
    Tabelle tt;
    for (uint32_t i = 0; i < 4; ++i) tt.schreiben(schluessel(3, i + 1), 0, daten(0, 50 - int(i)));
    tt.neueSuche();
    ASSERT_TRUE(hat(tt, schluessel(3, 1)));          // refreshed: now current
    tt.schreiben(schluessel(3, 2), 0, daten(0, 60)); // same key: current again
    tt.schreiben(schluessel(3, 9), 0, daten(0, 1));  // first old entry is number 2
    for (auto [tief, da] : {std::pair{1u, true}, {2u, true}, {3u, false}, {4u, true}, {9u, true}})
        EXPECT_EQ(hat(tt, schluessel(3, tief)), da) << tief;

    // A bucket starting at the last index stays inside the array.
    const uint64_t k = schluessel(0xFFFFFFFFu, 1);
    for (uint32_t i = 0; i < 6; ++i) tt.schreiben(k + i, 0, daten(int(i), 1));
    TTDaten_t d;
    ASSERT_TRUE(tt.lesen(k + 5, 0, d));
    EXPECT_EQ(d.wert, 5);
}

TEST(TT, HashfullCountsEntriesOfTheCurrentSearch)
{
    Tabelle tt;
    tt.groesseSetzen(1600); // 96 entries: all of them are counted
    ASSERT_EQ(tt.anzahl(), 96u);
    EXPECT_EQ(tt.hashfull(), 0);
    tt.schreiben(schluessel(1, 1), 0, daten(0, 1));
    tt.schreiben(schluessel(0x80000000u, 1), 0, daten(0, 1));
    EXPECT_EQ(tt.hashfull(), 2 * 1000 / 96);
    tt.neueSuche();
    EXPECT_EQ(tt.hashfull(), 0);
    ASSERT_TRUE(hat(tt, schluessel(1, 1)));
    EXPECT_EQ(tt.hashfull(), 1000 / 96);
    tt.leeren();
    EXPECT_EQ(std::tuple(tt.hashfull(), tt.alter(), hat(tt, schluessel(1, 1))), std::tuple(0, 1u, false));

    // The age cycles through 1..15 only, so empty entries never count.
    for (int i = 0; i < 40; ++i) {
        tt.neueSuche();
        EXPECT_NE(tt.alter(), 0u);
        EXPECT_EQ(tt.hashfull(), 0);
    }

    // Large tables sample entries 4..2,003.
    tt.groesseSetzen(MB);
    for (uint64_t start = 4; start < 1004; ++start) {
        uint32_t hoch = uint32_t(((start << 32) + tt.anzahl() - 1) / tt.anzahl());
        ASSERT_EQ((uint64_t(hoch) * tt.anzahl()) >> 32, start);
        tt.schreiben(schluessel(hoch, 1), 0, daten(0, 1));
    }
    tt.schreiben(schluessel(0xFFFFFFFFu, 1), 0, daten(0, 1)); // outside the sample
    EXPECT_EQ(tt.hashfull(), 500);
}

TEST(TT, FailedAllocationShrinksAndFinallyLeavesNoArray)
{
    Transpositionstabelle_t tt;
    groessteErlaubt = 500000;
    versuche.clear();
    zuteilungen = 0;
    tt.zuteilerSetzen(zuteilenBis, freigebenAusgerichtet);
    tt.groesseSetzen(MB);
    ASSERT_TRUE(tt.hatTabelle());
    ASSERT_GE(versuche.size(), 2u);
    uint64_t groesse = MB;
    for (size_t i = 0; i + 1 < versuche.size(); ++i) groesse -= groesse / 16;
    EXPECT_EQ(versuche.back(), groesse / 16 * 16);
    EXPECT_LE(versuche.back(), 500000u);
    EXPECT_EQ(std::tuple(tt.anzahl(), tt.angefordert()), std::tuple(groesse / 16 - 4, MB));
    tt.groesseSetzen(MB); // same size: kept
    EXPECT_EQ(zuteilungen, 1);

    // Nothing can be allocated: the table works without an array.
    groessteErlaubt = 0;
    versuche.clear();
    tt.groesseSetzen(2 * MB);
    EXPECT_FALSE(tt.hatTabelle());
    EXPECT_LT(versuche.back() - versuche.back() / 16, 16001u);
    EXPECT_GE(versuche.back(), 16001u);
    tt.schreiben(schluessel(1, 2), 0, daten(10, 10));
    EXPECT_EQ(std::pair(hat(tt, schluessel(1, 2)), tt.hashfull()), std::pair(false, 0));
    tt.leeren();
    tt.neueSuche();
    // Asking again later tries again.
    groessteErlaubt = MB;
    tt.groesseSetzen(2 * MB);
    EXPECT_TRUE(tt.hatTabelle());
    tt.zuteilerSetzen(nullptr, nullptr);
}

// Many threads store and probe the same buckets at once: words may mix, but
// nothing may crash and every thread sees only well-formed records.
TEST(TT, ThreadsShareTheTableWithoutLocks)
{
    Transpositionstabelle_t tt;
    tt.groesseSetzen(64 * 1024);
    std::vector<std::thread> faeden;
    for (int t = 0; t < 4; ++t)
        faeden.emplace_back([&tt, t] {
            TTDaten_t d;
            for (uint32_t i = 0; i < 50000; ++i) {
                uint64_t k = schluessel(i % 64, i % 8);
                tt.schreiben(k, 0, daten(int(i % 1000) - 500, int(i % 50), TT_EXAKT, uint32_t(t)));
                if (tt.lesen(k ^ 1, 0, d)) {
                    EXPECT_LE(d.tiefe, 8191);
                    EXPECT_LE(std::abs(d.wert), 500000);
                }
            }
        });
    for (auto& f : faeden) f.join();
}
