#include "../test_hilfen.h"
#include "bitbase/index.h"
#include "bitbase_hilfen.h"

namespace {

TEST(BitbaseMaterial, NamesAreCheckedLetterByLetter)
{
    const struct {
        const char* name;
        int erste, zweite; // 0: refused
    } faelle[] = {
        {"KDK", 2, 1}, {"KKD", 1, 2}, {"KTBKT", 3, 2}, {"KBBKB", 3, 2}, {"KK", 1, 1},  {"K", 0, 0},
        {"KDKTLS", 0, 0}, {"KTDK", 0, 0}, {"DKK", 0, 0}, {"KDX", 0, 0}, {"KKK", 0, 0}, {"", 0, 0},
        {"kdk", 0, 0}, {"KBLK", 0, 0},
    };
    for (const auto& f : faelle) {
        BbStellung_t b;
        const char* grund = nullptr;
        EXPECT_EQ(materialLesen(f.name, b, &grund), f.erste > 0) << f.name;
        if (f.erste)
            EXPECT_EQ(std::tuple(b.anzahl[0], b.anzahl[1], std::string(b.name)), std::tuple(f.erste, f.zweite, f.name));
        else
            EXPECT_NE(grund, nullptr) << f.name;
    }
    EXPECT_EQ(bbPositionen(bbStellung("KDK", {})), 20u * 64 * 64);
    EXPECT_EQ(bbPositionen(bbStellung("KBK", {})), 64u * 64 * 64);
    EXPECT_EQ(bbBloecke(bbStellung("KTBKT", {})), 262144u);
}

constexpr uint64_t ILLEGAL = ~0ull;

// Worked by hand: the king's triangle slot, the diagonal rule, mirrored
// kings, the pawn slot and the en-passant codes; and positions that are
// not legal at all.
TEST(BitbaseIndex, HandWorkedAndIllegalPositions)
{
    const struct {
        const char* was;
        BbStellung_t b;
        uint64_t index;
    } faelle[] = {
        {"king in the corner, queen off the diagonal", bbStellung("KDK", {A8, B8, H1}), 127},
        {"the same mirrored through files and rows", bbStellung("KDK", {H1, G1, A8}), 127},
        {"black to move: the next slot", bbStellung("KDK", {A8, B8, H1}, 1), 4096 + 127},
        {"king on the diagonal, queen below it: transposed", bbStellung("KDK", {B7, A7, H1}), 8 * 4096 + 64 + 63},
        {"its transposed twin", bbStellung("KDK", {B7, B8, H1}), 8 * 4096 + 64 + 63},
        {"pawn on the e-file mirrored to the d-file", bbStellung("KBK", {E1, E2, E8}), 54 * 4096 + 59 * 64 + 3},
        {"white takes e.p. towards the lower file (code on row 7), mirrored",
         bbStellung("KBKB", {E1, E5, E8, D5}, 0, D6), 62 * 262144ull + 59 * 4096 + 3 * 64 + 28},
        {"white takes e.p. towards the higher file (code on row 0)", bbStellung("KBKB", {E1, D5, E8, E5}, 0, E6),
         6 * 262144ull + 60 * 4096 + 4 * 64 + 28},
        {"black takes e.p. towards the lower file (code on row 0)", bbStellung("KBKB", {E1, D4, E8, E4}, 1, D3),
         39 * 262144ull + 60 * 4096 + 4 * 64 + 4},
        {"kings side by side", bbStellung("KDK", {E4, A1, E5}), ILLEGAL},
        {"side not to move in check", bbStellung("KDK", {A1, E8, E1}), ILLEGAL},
        {"two pieces on one square", bbStellung("KDK", {A1, C3, C3}), ILLEGAL},
        {"pawn on its first row", bbStellung("KBK", {A1, G1, H8}), ILLEGAL},
        {"pawn on the last row", bbStellung("KBK", {A1, E8, H1}), ILLEGAL},
        {"en passant without the pawn that moved", bbStellung("KBKB", {H1, E5, A8, C7}, 0, D6), ILLEGAL},
        {"en passant with nobody to take", bbStellung("KBKB", {H1, A2, A8, D5}, 0, D6), ILLEGAL},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.was);
        EXPECT_EQ(bbLegal(f.b), f.index != ILLEGAL);
        if (f.index == ILLEGAL) continue;
        EXPECT_EQ(bbIndex(f.b), f.index);
        BbStellung_t q = f.b;
        ASSERT_TRUE(bbDekodieren(f.index, q));
        EXPECT_TRUE(bbLegal(q) && bbIndex(q) == f.index && q.amZug == f.b.amZug && (q.ep != 0) == (f.b.ep != 0));
        EXPECT_TRUE(bbTreu(f.b, f.index));
    }
}

// The eight board symmetries of a pawnless position, or the left-right
// mirror with pawns (the en-passant square travels along).
bool symmetrisch(const BbStellung_t& a, const BbStellung_t& b)
{
    for (int t = 0; t < (a.hatBauern() ? 2 : 8); ++t) {
        auto bild = [t](int sq) {
            int r = sq >> 3, c = sq & 7;
            if (t & 1) c = 7 - c;
            if (t & 2) r = 7 - r;
            if (t & 4) std::swap(r, c);
            return r * 8 + c;
        };
        bool gleich = a.amZug == b.amZug && (a.ep > 0 ? bild(a.ep) == b.ep : b.ep <= 0);
        for (int j = 0; j < a.n && gleich; ++j) gleich = bild(a.feld[j]) == b.feld[j];
        if (gleich) return true;
    }
    return false;
}

TEST(BitbaseIndex, EveryLegalPositionComesBackFromItsIndex)
{
    Xorshift zufall;
    for (const char* name : {"KDK", "KDKT", "KLSK", "KTTKD", "KBK", "KTBKT", "KBKB", "KBBKB"}) {
        int geprueft = 0;
        for (int versuch = 0; versuch < 20000; ++versuch) {
            BbStellung_t b = bbStellung(name, {}, int(zufall() & 1));
            for (int j = 0; j < b.n; ++j) b.feld[j] = uint8_t(zufall() & 63);
            if (!bbLegal(b)) continue;
            ++geprueft;
            const uint64_t i = bbIndex(b);
            ASSERT_LT(i, bbPositionen(b)) << name;
            BbStellung_t q = bbStellung(name, {});
            ASSERT_TRUE(bbDekodieren(i, q)) << name;
            ASSERT_EQ(bbIndex(q), i) << name;
            ASSERT_TRUE(symmetrisch(b, q)) << name << " index " << i;
        }
        EXPECT_GT(geprueft, 1000) << name;
    }
}

// Every pawn that may take en passant, on either side of the pawn that just
// made its double step, on every file: the index leads back to the same
// right to take, and never to a position without it.
TEST(BitbaseIndex, EnPassantCodesLeadBack)
{
    for (int amZug = 0; amZug < 2; ++amZug)
        for (int c = 0; c < 8; ++c)
            for (int d : {-1, 1}) {
                if (c + d < 0 || c + d > 7) continue;
                const int reihe = amZug == 0 ? 3 : 4, nehmer = reihe * 8 + c, opfer = nehmer + d;
                const int ep = opfer + (amZug == 0 ? -8 : 8);
                BbStellung_t b = amZug == 0 ? bbStellung("KBKB", {H1, nehmer, A8, opfer}, 0, ep)
                                            : bbStellung("KBKB", {H1, opfer, A8, nehmer}, 1, ep);
                SCOPED_TRACE(testing::Message() << amZug << " " << c << " " << d);
                ASSERT_TRUE(bbLegal(b));
                const uint64_t i = bbIndex(b);
                BbStellung_t q = b;
                ASSERT_TRUE(bbDekodieren(i, q));
                EXPECT_TRUE(symmetrisch(b, q));
                EXPECT_TRUE(bbTreu(b, i));
                b.ep = 0;
                EXPECT_NE(bbIndex(b), i);
            }
}

} // namespace
