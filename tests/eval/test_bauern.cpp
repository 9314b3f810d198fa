#include "../test_hilfen.h"
#include "eval/bauern_tabelle.h"

namespace {

PawnEntry eintrag(Bitboard w, Bitboard s)
{
    PawnEntry e;
    bauernEintragBerechnen(42, w, s, e);
    return e;
}

// White's and Black's entry of a two-sided field.
template <class T> std::pair<T, T> beide(const T (&f)[2]) { return {f[WEISS], f[SCHWARZ]}; }
using Paar = std::pair<Bitboard, Bitboard>;

constexpr Bitboard ALLES = ~Bitboard(0);

} // namespace

TEST(Bauern, LonePassedPawn)
{
    const PawnEntry e = eintrag(felder({E5}), 0);
    // Square value (172, 204), isolated on a middle file (-80, -99), passed
    // on the 5th rank (143, 168).
    EXPECT_EQ(e.wert, S(172 - 80 + 143, 204 - 99 + 168));
    EXPECT_EQ(std::pair(e.freibauern, e.umwandlung), Paar(felder({E5}), felder({E8})));
    // A king within three steps of e8 catches it: ranks 8 to 5, files b to h.
    EXPECT_EQ(beide(e.fang), Paar(0x00000000FEFEFEFEull, ALLES));
    EXPECT_EQ(beide(e.vorposten), Paar(felder({D6, F6}), 0));
    EXPECT_EQ(std::tuple(e.offeneLinien, e.linienMitBauern), std::tuple(0xEF, 1));
    EXPECT_EQ(beide(e.linienOhneBauer), (std::pair<uint8_t, uint8_t>(7, 8)));
}

TEST(Bauern, IsolatedDoubledFileCountsOncePerFile)
{
    // d2 and d3: square values, isolated file (-80, -99) and doubled on it
    // (-116, -114), one doubled pawn (-151, -139), both passed.
    const PawnEntry e = eintrag(felder({D2, D3}), 0);
    EXPECT_EQ(e.wert, S(90 + 98 - 80 - 116 - 151 + 67 + 59, 144 + 149 - 99 - 114 - 139 - 170 - 124));
    // The same file on the edge costs less as an isolated file.
    const PawnEntry a = eintrag(felder({A2, A3}), 0);
    EXPECT_EQ(a.wert, S(-76 - 68 - 19 - 116 - 151 + 42 + 34, 35 + 40 - 30 - 114 - 139 - 13 + 33));
    // Three on a file: one beyond the second (-44, -300), two doubled.
    const PawnEntry t = eintrag(felder({D2, D3, D4}), 0);
    EXPECT_EQ(t.wert - e.wert, S(118 - 44 - 151 + 75, 164 - 300 - 139 + 1));
}

TEST(Bauern, BackwardPawnBehindABlockedNeighbour)
{
    // White d3 and e4 against Black e5: d3 is backward (its stop square d4
    // is covered by e5) and stands behind e4, which e5 blocks. Black's e5 is
    // isolated and backward too (e4 is covered by d3).
    const PawnEntry e = eintrag(felder({D3, E4}), felder({E5}));
    const int wMg = 98 + 118 - 38 - 10, wEg = 149 + 164 - 45 - 34;
    const int sMg = 118 - 80 - 38, sEg = 164 - 99 - 45;
    EXPECT_EQ(e.wert, S(wMg - sMg, wEg - sEg));
    EXPECT_EQ(std::tuple(e.schwach, e.rueckstaendigHalboffen, e.freibauern),
              std::tuple(felder({D3, E4, E5}), felder({D3}), Bitboard(0)));
    EXPECT_EQ(beide(e.fang), Paar(ALLES, ALLES));
    EXPECT_EQ(beide(e.vorposten), Paar(felder({C4, E4, D5, F5}), felder({D4, F4})));
}

TEST(Bauern, CandidateAndCatchRegionAroundOtherPawns)
{
    // c5 is a candidate (d5 helps, nothing stops it from behind), d5 is
    // passed; Black's b7 is isolated and backward on a half-open file.
    const PawnEntry e = eintrag(felder({C5, D5}), felder({B7}));
    const int wMg = 129 + 172 + 170 + 143, wEg = 194 + 204 + 76 + 168;
    const int sMg = 64 - 80 - 38, sEg = 128 - 99 - 45;
    EXPECT_EQ(e.wert, S(wMg - sMg, wEg - sEg));
    EXPECT_EQ(std::pair(e.freibauern, e.rueckstaendigHalboffen), Paar(felder({D5}), felder({B7})));
    // Three king steps to d8, never onto another pawn.
    EXPECT_EQ(beide(e.fang), Paar(0x000000007F7F7F7Full & ~felder({C5, B7}), ALLES));
}

TEST(Bauern, ConnectedPassersAndSquaresCoveredTwice)
{
    // e7, f6 and g7 are passed and connected (neighbouring files, one rank
    // apart); the 7th-rank squares are worth nothing in themselves.
    const PawnEntry e = eintrag(felder({E7, F6, G7}), 0);
    EXPECT_EQ(e.wert, S(230 + 660 + 639 + 234 + 111 + 78 + 111, 297 + 1076 + 1222 + 422 + 66 + 46 + 66));
    // e7 and g7 cover f8 twice: no king can reach the f-pawn's promotion
    // square, so White's catch region is empty.
    EXPECT_EQ(std::pair(e.fang[WEISS], e.umwandlung), Paar(0, felder({E8, F8, G8})));
}

TEST(Bauern, BlackStructuresAreTheMirrorImage)
{
    // Random pawn sets on the 2nd to 7th ranks; Black's view of the mirrored
    // set must give the negated score and the mirrored bitboards.
    Xorshift zufall;
    for (int i = 0; i < 2000; ++i) {
        const Bitboard mitte = 0x00FFFFFFFFFFFF00ull;
        Bitboard w = zufall() & zufall() & mitte;
        Bitboard s = zufall() & zufall() & mitte & ~w;
        while (popcount(w) > 8) w &= w - 1;
        while (popcount(s) > 8) s &= s - 1;
        const PawnEntry e = eintrag(w, s);
        const PawnEntry m = eintrag(__builtin_bswap64(s), __builtin_bswap64(w));
        ASSERT_EQ(m.wert, -e.wert) << std::hex << w << " " << s;
        ASSERT_EQ(m.freibauern, __builtin_bswap64(e.freibauern));
        ASSERT_EQ(m.umwandlung, __builtin_bswap64(e.umwandlung));
        ASSERT_EQ(m.fang[WEISS], __builtin_bswap64(e.fang[SCHWARZ]));
        ASSERT_EQ(m.vorposten[SCHWARZ], __builtin_bswap64(e.vorposten[WEISS]));
        ASSERT_EQ(m.schwach, __builtin_bswap64(e.schwach));
        ASSERT_EQ(m.rueckstaendigHalboffen, __builtin_bswap64(e.rueckstaendigHalboffen));
        ASSERT_EQ(m.linienOhneBauer[WEISS], e.linienOhneBauer[SCHWARZ]);
    }
}

// (The pawn cache: the evaluation tests.)
