#include "../test_hilfen.h"

#include "eval/material_tabelle.h"
#include "eval/packed_score.h"

namespace {

// Both halves as unpacked.
std::pair<int, int> haelften(PackedScore p) { return {p.mg(), p.eg()}; }

Stellung_t mitAnzahlen(const int (&w)[6], const int (&s)[6])
{
    Stellung_t st;
    std::memset(&st, 0, sizeof st);
    for (int t = 1; t <= 5; ++t) {
        st.seite[0].anzahl[t] = uint8_t(w[t]);
        st.seite[1].anzahl[t] = uint8_t(s[t]);
    }
    return st;
}

} // namespace

TEST(PackedScore, MiddlegameHalfWrapsAtSixteenBitsAndCarries)
{
    // 32767 + 1 leaves the 16-bit range: the middlegame half reads -32768
    // and the endgame half, by the unpacking rule, gains one.
    PackedScore p = S(32767, 5) + nurMg(1);
    EXPECT_EQ(haelften(p), std::pair(-32768, 6));
    // A material balance of 40000 packed on its own: 40000 - 65536 and a carry.
    EXPECT_EQ(haelften(nurMg(40000)), std::pair(40000 - 65536, 1));
    // Subtracting it again restores the original pair exactly.
    EXPECT_EQ(haelften(p - nurMg(1)), std::pair(32767, 5));
    // The endgame half wraps at the top of the word without undefined behaviour.
    PackedScore r = S(0, 32767) + S(0, 1);
    EXPECT_EQ(r.eg(), -32768);
}

TEST(Material, PhaseAndBalance)
{
    for (auto [material, phase] :
         {std::pair{0, 0}, {25000, 0}, {25067, 1}, {42015, 255}, {42016, 256}, {2 * 37696, 256}})
        EXPECT_EQ(phaseAusMaterial(material), phase) << material;

    // A knight up with everything else on the board: 2989 less 114 because
    // the board is full (trading down would help the side ahead).
    EXPECT_EQ(materialBilanz(37696, 37696 - 5964 + 2975, 8, 8), 2875);
    // A lone pawn up: 1083 less 27.
    EXPECT_EQ(materialBilanz(1083, 0, 1, 0), 1056);
    EXPECT_EQ(materialBilanz(0, 1083, 0, 1), -1056);
    EXPECT_EQ(materialBilanz(12345, 12345, 3, 5), 0);
    // Nine queens against a bare king: the 32-bit product would overflow.
    EXPECT_EQ(materialBilanz(56796 + 29404, 0, 0, 0), 86200 + int32_t((int64_t(86200 * 217) * (25000 - 86200)) / (1 << 28)));
}

TEST(Material, EntryHoldsSumsPhaseBalanceAndImbalance)
{
    auto mt = std::make_unique<MaterialTable>();
    // Start material: nothing but the bishop pairs, which cancel.
    const Stellung_t start = mitAnzahlen({0, 8, 2, 2, 2, 1}, {0, 8, 2, 2, 2, 1});
    const MaterialEntry& e = materialEintrag(*mt, start, 12345);
    EXPECT_EQ((std::tuple(e.summe[0], e.summe[1], e.phase, e.bilanz)), std::tuple(37696, 37696, 256, 0));
    EXPECT_EQ(e.ungleichgewicht, S(0, 0));

    // White queen and eight pawns against a bare king: queen against no
    // minors (16 + 11, -50 - 135), queen without rooks (1, 70), queen with
    // eight pawns (-3104, -189).
    const Stellung_t dame = mitAnzahlen({0, 8, 0, 0, 0, 1}, {0, 0, 0, 0, 0, 0});
    const MaterialEntry& d = materialEintrag(*mt, dame, 999);
    EXPECT_EQ(d.ungleichgewicht, S(27 + 1 - 3104, -185 + 70 - 189));
    EXPECT_EQ(d.summe[0], 6322 + 9792);

    // Rook and bishop pair against two knights and a bishop: rook against
    // two knights and one bishop for White, the bishop pair for White.
    const Stellung_t mix = mitAnzahlen({0, 0, 0, 2, 1, 0}, {0, 0, 2, 1, 0, 0});
    EXPECT_EQ(materialEintrag(*mt, mix, 4).ungleichgewicht, S(-108 - 42, -90 + 191) + S(0, 130));
}

TEST(Material, CacheHitNeedsTheWholeKey)
{
    auto mt = std::make_unique<MaterialTable>();
    const Stellung_t a = mitAnzahlen({0, 1, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0});
    const Stellung_t b = mitAnzahlen({0, 0, 0, 0, 0, 0}, {0, 1, 0, 0, 0, 0});
    // Same slot, different keys: the second probe must not reuse the first.
    EXPECT_EQ(materialEintrag(*mt, a, 7).bilanz, 1056);
    EXPECT_EQ(materialEintrag(*mt, b, 7 + MaterialTable::GROESSE).bilanz, -1056);
    // Fresh tables hit nothing, not even the key 0 of bare kings.
    auto leer = std::make_unique<MaterialTable>();
    for (uint32_t i = 0; i < MaterialTable::GROESSE; ++i) EXPECT_NE(leer->eintrag[i].schluessel % MaterialTable::GROESSE, i);
}
