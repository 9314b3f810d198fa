#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "../test_hilfen.h"
#include "bitbase/blockcoder.h"
#include "bitbase/datei.h"
#include "bitbase/erklaeren.h"
#include "bitbase_hilfen.h"

namespace {

using Block = std::vector<uint8_t>;

// KDK has 20 blocks: constant ones, a compressible one twice (stored
// once), an incompressible one (stored raw), zeros for the rest.
struct KdkDatei {
    TestVerzeichnis v;
    std::vector<Block> bloecke;
    std::string datei = v.datei("KDK.vbb");

    KdkDatei()
    {
        Xorshift z;
        Block muster(BB_BLOCK), zufall(BB_BLOCK);
        for (int i = 0; i < BB_BLOCK; ++i) {
            muster[i] = uint8_t((i / 40) & 1 ? 0xFF : i % 7);
            zufall[i] = uint8_t(z());
        }
        bloecke = {Block(BB_BLOCK, 0), Block(BB_BLOCK, 0xFF), muster, zufall, muster};
        while (bloecke.size() < 20) bloecke.push_back(Block(BB_BLOCK, 0));
        BbSchreiber_t s(20);
        for (const Block& b : bloecke) s.block(b.data());
        EXPECT_TRUE(s.schreiben(datei));
    }
    std::string inhalt() const { return dateiText(datei); }
    bool lesen(uint64_t k, Block& aus, uint64_t anzahl = 20) const
    {
        aus.assign(BB_BLOCK, 0x5A);
        return bbBlockLesen(datei, k, anzahl, aus.data());
    }
};

TEST(BitbaseDatei, RecordsPayloadsAndSharedBlocks)
{
    KdkDatei d;
    const std::string s = d.inhalt();
    auto satz = [&](int k) { return Block(s.begin() + 5 * k, s.begin() + 5 * k + 5); };
    EXPECT_EQ(satz(0), (Block{0x00, 0xFF, 0xFF, 0xFF, 0x00}));
    EXPECT_EQ(satz(1), (Block{0xFF, 0xFF, 0xFF, 0xFF, 0x00}));
    EXPECT_EQ(satz(5), satz(0));
    // The first payload starts right after the index.
    EXPECT_EQ(satz(2)[0], 100);
    EXPECT_GT(satz(2)[4], 0);
    EXPECT_EQ(satz(4), satz(2));
    // The random block is stored raw, after the first payload.
    EXPECT_EQ(satz(3)[4], 0);
    EXPECT_EQ(satz(3)[0], 100 + satzLaenge(satz(2)[4]));
    // Index, two payloads, three zero bytes.
    EXPECT_EQ(s.size(), size_t(100 + satzLaenge(satz(2)[4]) + 512 + 3));
    EXPECT_EQ(s.substr(s.size() - 3), std::string(3, '\0'));
    for (uint64_t k = 0; k < 20; ++k) {
        Block b;
        ASSERT_TRUE(d.lesen(k, b)) << k;
        EXPECT_EQ(b, d.bloecke[k]) << k;
    }
    EXPECT_FALSE(std::filesystem::exists(d.datei + ".tmp"));
}

TEST(BitbaseDatei, SizeCodes)
{
    const struct {
        int code, laenge, lesen;
    } faelle[] = {{0, 512, 512}, {1, 1, 1}, {124, 124, 124}, {125, 125, 127}, {126, 128, 130}, {253, 509, 511}, {254, 0, 0}};
    for (const auto& f : faelle) {
        EXPECT_EQ(satzLaenge(f.code), f.laenge) << f.code;
        EXPECT_EQ(satzLesemenge(f.code), f.lesen) << f.code;
    }
}

// A broken file answers "not available" for the blocks it concerns and
// keeps answering for the others.
TEST(BitbaseDatei, BrokenFilesGiveNoBlock)
{
    KdkDatei d;
    const std::string gut = d.inhalt();
    const int code = uint8_t(gut[14]);
    const int ende2 = 100 + satzLaenge(code);
    struct Fall {
        const char* was;
        std::string inhalt;
        std::vector<int> heil, kaputt;
    };
    auto geaendert = [&](int pos, std::initializer_list<uint8_t> bytes) {
        std::string s = gut;
        for (uint8_t b : bytes) s[size_t(pos++)] = char(b);
        return s;
    };
    const Fall faelle[] = {
        {"cut inside the index", gut.substr(0, 50), {}, {0, 2, 19}},
        {"cut inside the raw payload", gut.substr(0, size_t(ende2 + 100)), {0, 1, 2, 4, 19}, {3}},
        {"cut inside the first payload", gut.substr(0, size_t(ende2 - 10)), {0, 1}, {2, 3, 4}},
        {"record points past the end", geaendert(10, {0x00, 0x00, 0x01}), {0, 4}, {2}},
        {"record points into the index", geaendert(10, {0x05}), {0, 3, 4}, {2}},
        {"size code no writer uses", geaendert(14, {0xFE}), {0, 3, 4}, {2}},
        {"size code too small: the payload stops short", geaendert(14, {uint8_t(code - 10)}), {0, 3, 4}, {2}},
        {"size code too large: bytes left over", geaendert(14, {uint8_t(code + 5)}), {0, 3, 4}, {2}},
    };
    for (const Fall& f : faelle) {
        dateiSchreiben(d.datei, f.inhalt);
        Block b;
        for (int k : f.heil) {
            EXPECT_TRUE(d.lesen(uint64_t(k), b)) << f.was << " block " << k;
            EXPECT_EQ(b, d.bloecke[size_t(k)]) << f.was << " block " << k;
        }
        for (int k : f.kaputt) EXPECT_FALSE(d.lesen(uint64_t(k), b)) << f.was << " block " << k;
    }
    dateiSchreiben(d.datei, gut);
    Block b;
    // A file named for a larger material is too short for its index, and
    // block numbers beyond the material do not exist.
    EXPECT_FALSE(d.lesen(0, b, 1280));
    EXPECT_FALSE(d.lesen(20, b));
    EXPECT_FALSE(bbBlockLesen(d.v.datei("KTK.vbb"), 0, 20, b.data()));
}

TEST(BitbaseDatei, DumpListsIndexAndPayloads)
{
    KdkDatei d;
    const std::string s = d.inhalt();
    const int code = uint8_t(s[14]);
    ASSERT_EQ(bitbaseErklaeren(d.v.datei("KDK").c_str()), 0);
    const std::string text = dateiText(d.v.datei("KDK.txt"));
    char z2[80], z3[80], z4[80];
    std::snprintf(z2, sizeof(z2), "       2: 64 00 00 00 %02x Position 00000064 %d Bytes\n", code, code);
    std::snprintf(z3, sizeof(z3), "       3: %02x 00 00 00 00 Position 000000%02x 512 Bytes\n", 100 + code, 100 + code);
    std::snprintf(z4, sizeof(z4), "       4: 64 00 00 00 %02x Position 00000064 %d Bytes Wiederholung\n", code, code);
    const std::string anfang = std::string("#################\n###   Index   ###\n#################\n\n") +
                               "       0: 00 ff ff ff 00 00 .. 00\n" + "       1: ff ff ff ff 00 ff .. ff\n" + z2 + z3 +
                               z4 + "       5: 00 ff ff ff 00 00 .. 00\n";
    EXPECT_EQ(text.substr(0, anfang.size()), anfang);
    const std::string block2 = "\n##########################\n###   Block 2          ###\n##########################\n\n";
    const std::string block3 = "\n##########################\n###   Block 3          ###\n##########################\n\n"
                               "unkomprimierte Daten\n";
    const size_t p2 = text.find(block2), p3 = text.find(block3);
    ASSERT_NE(p2, std::string::npos);
    ASSERT_NE(p3, std::string::npos);
    EXPECT_LT(p2, p3);
    EXPECT_EQ(text.find("###   Block 4"), std::string::npos); // a shared payload is listed once
    EXPECT_NE(text.find("komprimiert zu " + std::to_string(code) + " Bytes\n", p2), std::string::npos);
    EXPECT_EQ(text.size(), p3 + block3.size());
}

TEST(BitbaseDatei, DumpRefusesWhatItCannotRead)
{
    TestVerzeichnis v;
    const std::string lang(1020, 'K');
    EXPECT_NE(bitbaseErklaeren(lang.c_str()), 0);
    EXPECT_NE(bitbaseErklaeren(v.datei("KXK").c_str()), 0);
    EXPECT_NE(bitbaseErklaeren(v.datei("KDK").c_str()), 0); // no such file
    EXPECT_FALSE(std::filesystem::exists(v.datei("KDK.txt")));
    // A truncated payload ends its listing with an error line.
    BbSchreiber_t s(20);
    Block b(BB_BLOCK, 0);
    for (int i = 0; i < BB_BLOCK; i += 5) b[size_t(i)] = uint8_t(i);
    s.block(b.data());
    Block null(BB_BLOCK, 0);
    for (int k = 1; k < 20; ++k) s.block(null.data());
    ASSERT_TRUE(s.schreiben(v.datei("KDK.vbb")));
    std::string inhalt = dateiText(v.datei("KDK.vbb"));
    dateiSchreiben(v.datei("KDK.vbb"), inhalt.substr(0, 110));
    EXPECT_EQ(bitbaseErklaeren(v.datei("KDK").c_str()), 0);
    const std::string text = dateiText(v.datei("KDK.txt"));
    EXPECT_NE(text.find(": Fehler\n"), std::string::npos);
}

} // namespace
