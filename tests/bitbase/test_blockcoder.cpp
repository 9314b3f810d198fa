#include "../test_hilfen.h"
#include "bitbase/blockcoder.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Each token once, after a header with marker F and run bytes 00/FF (0xF0)
// or FF/00 (0xF1), then literal zero bytes up to a whole block. The model
// starts with every byte followed by itself, R0, 0F, F0.
TEST(BitbaseBlockcoder, EveryTokenDecodes)
{
    const struct {
        const char* was;
        Bytes tokens, ausgabe;
    } faelle[] = {
        {"literals", {0xF0, 0x12, 0x34}, {0x12, 0x34}},
        {"escaped byte with the marker nibble", {0xF0, 0xF0, 0x05}, {0xF5}},
        {"short copy (a): 7 bytes from the start", {0xF0, 1, 2, 3, 4, 5, 6, 7, 0xF0, 0x10}, {1, 2, 3, 4, 5, 6, 7, 1, 2, 3, 4, 5, 6, 7}},
        {"short copy (b): 3 bytes, gap 1", {0xF0, 0x0A, 0x0B, 0x0C, 0x0D, 0xF1, 0x01}, {0x0A, 0x0B, 0x0C, 0x0D, 0x0A, 0x0B, 0x0C}},
        {"short copy (b): 4 bytes, no gap", {0xF0, 1, 2, 3, 4, 0xF1, 0x40}, {1, 2, 3, 4, 1, 2, 3, 4}},
        {"long copy: 5 bytes, gap 0", {0xF0, 1, 2, 3, 4, 5, 0xF2, 0x01, 0x00}, {1, 2, 3, 4, 5, 1, 2, 3, 4, 5}},
        {"long copy: 4 bytes, gap 2", {0xF0, 1, 2, 3, 4, 5, 6, 0xF2, 0x00, 0x02}, {1, 2, 3, 4, 5, 6, 1, 2, 3, 4}},
        {"first/second successors: 3 bytes", {0xF0, 0xF3, 0x0A}, {0x00, 0xFF, 0xFF}},
        {"run 0b: 21 bytes of R0, then a literal", {0xF0, 0xF3, 0x02, 0x11}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x11}},
        {"four successors from the model before the token", {0xF0, 0xF4, 0x55}, {0xFF, 0x00, 0xFF, 0x00}},
        {"four successors: third and fourth entries", {0xF0, 0x0F, 0xF4, 0xAA}, {0x0F, 0x1F, 0x0F, 0x1F, 0x0F}},
        {"exactly three copies", {0xF0, 0xF5, 0x42}, {0x42, 0x42, 0x42}},
        {"run of any byte", {0xF0, 0xF6, 0x01, 0x37}, {0x37, 0x37, 0x37, 0x37, 0x37}},
        {"run of R1", {0xF0, 0xF7, 0x00, 0x11}, {0xFF, 0xFF, 0xFF, 0x11}},
        {"run 0a: 2 and 9 bytes of R0", {0xF0, 0xF8, 0x11, 0xFF, 0x22}, {0, 0, 0x11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x22}},
        {"header bit 0 swaps the run bytes", {0xF1, 0xF8, 0xF7, 0x00, 0x11}, {0xFF, 0xFF, 0x00, 0x00, 0x00, 0x11}},
    };
    for (const auto& f : faelle) {
        Bytes p = f.tokens, soll = f.ausgabe;
        p.resize(p.size() + BB_BLOCK - f.ausgabe.size(), 0x00);
        soll.resize(BB_BLOCK, 0);
        uint8_t aus[BB_BLOCK];
        ASSERT_EQ(blockDekodieren(p.data(), int(p.size()), aus), int(p.size())) << f.was;
        EXPECT_EQ(Bytes(aus, aus + BB_BLOCK), soll) << f.was;
    }
}

TEST(BitbaseBlockcoder, BrokenPayloadsAreRefused)
{
    const Bytes faelle[] = {
        {}, {0xF0},                                         // empty, header only
        {0xF0, 0xF6, 0xFF, 0x00}, {0xF0, 0xF6, 0xFF},       // ends before 512 bytes, token cut off
        {0xF0, 0x01, 0xF1, 0x01}, {0xF0, 0x01, 0xF0, 0x10}, // copies (b), (a) and long
        {0xF0, 0x01, 0xF2, 0x00, 0x00},                     // from before the block
        {0xF0, 0xF6, 0xFF, 0x00, 0xF6, 0xFF, 0x00},         // runs and successors beyond 512 bytes
        {0xF0, 0xF6, 0xFF, 0x00, 0xF6, 0xF8, 0x00, 0xF4, 0x00},
    };
    uint8_t aus[BB_BLOCK];
    for (const Bytes& p : faelle) EXPECT_EQ(blockDekodieren(p.data(), int(p.size()), aus), -1) << p.size();
    // Bytes after the 512th are ignored.
    const Bytes p = {0xF0, 0xF6, 0xFF, 0x00, 0xF6, 0xF9, 0x00, 0x12, 0x34};
    EXPECT_EQ(blockDekodieren(p.data(), int(p.size()), aus), 7);
}

// The listing of a payload: a line per token with its place in the block.
TEST(BitbaseBlockcoder, ListingNamesTheTokens)
{
    auto liste = [](const Bytes& p, int erwartet) {
        uint8_t aus[BB_BLOCK];
        const auto [n, text] =
            mitschreiben([&](std::FILE* f) { return blockDekodieren(p.data(), int(p.size()), aus, f); });
        EXPECT_EQ(n, erwartet);
        return zeilenAus(text);
    };
    const Bytes p = {0xF1, 0x12, 0x34, 0x56, 0xF0, 0x05, 0xF1, 0x00, 0xF0, 0x10, 0xF2, 0x00, 0x01, 0xF3, 0x0A, 0xF3, 0x00,
                     0xF4, 0x1B, 0xF5, 0x42, 0xF6, 0x00, 0x37, 0xF7, 0x01, 0xF8, 0xF6, 0xFF, 0x77, 0xF6, 0xC0, 0x00};
    EXPECT_EQ(liste(p, int(p.size())), (std::vector<std::string>{
        "   0: f1       Markierung f0..ff; Wdh0=0xff, Wdh1=0x00",
        "   0: 12",
        "   1: 34",
        "   2: 56",
        "   3: f0 05    Markiertes Zeichen 0xf5",
        "   4: f1 00    kurze Kopie (b): 3 Zeichen ab Position 1",
        "   7: f0 10    kurze Kopie (a): 7 Zeichen ab Position 0",
        "  14: f2 00 01 lange Kopie: 4 Zeichen ab Position 9",
        "  18: f3 0a    letzte/vorletzte Nachfolger (0x0a), Länge 3",
        "  21: f3 00    Wiederholung 0b (0xff), Länge 19",
        "  40: f4 1b    letzte 4 Nachfolger",
        "  44: f5 42    genau 3 Zeichen Wiederholung (0x42)",
        "  47: f6 00 37 Wiederholung (0x37), Länge 4",
        "  51: f7 01    Wiederholung 1 (0x00), Länge 4",
        "  55: f8       Wiederholung 0a (0xff), Länge 2",
        "  57: f6 ff 77 Wiederholung (0x77), Länge 259",
        " 316: f6 c0 00 Wiederholung (0x00), Länge 196",
        " 512: komprimiert zu 33 Bytes",
    }));
    // A bad token ends the listing with an error line; a bad copy (a) ends
    // it without one.
    EXPECT_EQ(liste({0xF0, 0x01, 0xF1, 0x01}, -1).back(), "   1: Fehler");
    EXPECT_EQ(liste({0xF0, 0x01, 0xF0, 0x10}, -1).back(), "   0: 01");
}

// Blocks like the generator's (sparse, runs, repeats) and arbitrary ones:
// each comes back byte for byte, and the structured ones shrink.
TEST(BitbaseBlockcoder, RoundTripAndTheHeaderChoice)
{
    Xorshift zufall;
    const struct {
        const char* was;
        int maxLaenge; // the encoder must do at least this well
        uint8_t (*byte)(Xorshift&, int);
    } faelle[] = {
        {"random", BB_KODIER_PUFFER, [](Xorshift& z, int) { return uint8_t(z()); }},
        {"few values", 500, [](Xorshift& z, int) { return uint8_t(0x11 * (z() % 3)); }},
        {"sparse bits", 200, [](Xorshift& z, int) { return uint8_t(z() % 17 == 0 ? 1u << (z() % 8) : 0); }},
        {"long runs", 100, [](Xorshift& z, int i) { return uint8_t(((i / 37) & 1) ? 0xFF : (z() % 50 == 0 ? 0x80 : 0)); }},
        {"repeating pattern", 60, [](Xorshift&, int i) { return uint8_t((i % 24) * 7); }},
        {"every high nibble, marker bytes escaped", 1024, [](Xorshift& z, int i) { return uint8_t((i % 16) << 4 | (z() & 15)); }},
        {"mostly full", 250, [](Xorshift& z, int) { return uint8_t(z() % 13 == 0 ? 0xEF : 0xFF); }},
    };
    uint8_t block[BB_BLOCK], kodiert[BB_KODIER_PUFFER], aus[BB_BLOCK];
    for (const auto& f : faelle)
        for (int runde = 0; runde < 50; ++runde) {
            for (int i = 0; i < BB_BLOCK; ++i) block[i] = f.byte(zufall, i);
            const int n = blockKodieren(block, kodiert);
            ASSERT_LE(n, f.maxLaenge) << f.was;
            ASSERT_EQ(blockDekodieren(kodiert, n, aus), n) << f.was;
            ASSERT_EQ(std::memcmp(aus, block, BB_BLOCK), 0) << f.was << " round " << runde;
        }
    // Every high nibble but 7 occurs: 7 is the marker; runs of FF beat the
    // runs of 00, so bit 0 is set. In an all-zero block nibble 1 is the
    // first that does not occur.
    for (int i = 0; i < BB_BLOCK; ++i) block[i] = i < 300 ? 0xFF : uint8_t(((i % 15) < 7 ? i % 15 : i % 15 + 1) << 4);
    blockKodieren(block, kodiert);
    EXPECT_EQ(kodiert[0], 0x71);
    std::memset(block, 0, BB_BLOCK);
    blockKodieren(block, kodiert);
    EXPECT_EQ(kodiert[0], 0x10);
}

} // namespace
