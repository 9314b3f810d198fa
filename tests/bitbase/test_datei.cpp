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
        for (int i = 0; i < BB_BLOCK; ++i) muster[i] = uint8_t((i / 40) & 1 ? 0xFF : i % 7), zufall[i] = uint8_t(z());
        bloecke = {Block(BB_BLOCK, 0), Block(BB_BLOCK, 0xFF), muster, zufall, muster};
        bloecke.resize(20, Block(BB_BLOCK, 0));
        BbSchreiber_t s(20);
        for (const Block& b : bloecke) s.block(b.data());
        EXPECT_TRUE(s.schreiben(datei));
    }
    bool lesen(uint64_t k, Block& aus, uint64_t anzahl = 20) const
    {
        aus.assign(BB_BLOCK, 0x5A);
        return bbBlockLesen(datei, k, anzahl, aus.data());
    }
};

TEST(BitbaseDatei, RecordsPayloadsAndSharedBlocks)
{
    KdkDatei d;
    const std::string s = dateiText(d.datei);
    auto satz = [&](int k) { return Block(s.begin() + 5 * k, s.begin() + 5 * k + 5); };
    EXPECT_EQ(satz(0), (Block{0x00, 0xFF, 0xFF, 0xFF, 0x00}));
    EXPECT_EQ(satz(1), (Block{0xFF, 0xFF, 0xFF, 0xFF, 0x00}));
    EXPECT_EQ(satz(5), satz(0));
    // The first payload starts right after the index and is shared; the
    // random block is stored raw after it; three zero bytes end the file.
    EXPECT_EQ(satz(2)[0], 100);
    EXPECT_GT(satz(2)[4], 0);
    EXPECT_EQ(satz(4), satz(2));
    EXPECT_EQ(satz(3)[4], 0);
    EXPECT_EQ(satz(3)[0], 100 + satzLaenge(satz(2)[4]));
    EXPECT_EQ(s.size(), size_t(100 + satzLaenge(satz(2)[4]) + 512 + 3));
    EXPECT_EQ(s.substr(s.size() - 3), std::string(3, '\0'));
    EXPECT_FALSE(std::filesystem::exists(d.datei + ".tmp"));
    // Size codes: stored length and bytes read.
    for (auto [code, laenge, lesen] : {std::tuple{0, 512, 512}, {1, 1, 1}, {124, 124, 124}, {125, 125, 127},
                                       {126, 128, 130}, {253, 509, 511}, {254, 0, 0}})
        EXPECT_EQ(std::pair(satzLaenge(code), satzLesemenge(code)), std::pair(laenge, lesen)) << code;
}

// The intact file gives back every block. A broken file answers "not
// available" for the blocks it concerns and keeps answering for the others.
TEST(BitbaseDatei, BrokenFilesGiveNoBlock)
{
    KdkDatei d;
    const std::string gut = dateiText(d.datei);
    const int code = uint8_t(gut[14]), ende2 = 100 + satzLaenge(code);
    auto geaendert = [&](int pos, std::initializer_list<uint8_t> bytes) {
        std::string s = gut;
        for (uint8_t b : bytes) s[size_t(pos++)] = char(b);
        return s;
    };
    const struct {
        const char* was;
        std::string inhalt;
        std::vector<int> heil, kaputt;
    } faelle[] = {
        {"intact", gut, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}, {}},
        {"cut inside the index", gut.substr(0, 50), {}, {0, 2, 19}},
        {"cut inside the raw payload", gut.substr(0, size_t(ende2 + 100)), {0, 1, 2, 4, 19}, {3}},
        {"cut inside the first payload", gut.substr(0, size_t(ende2 - 10)), {0, 1}, {2, 3, 4}},
        {"record points past the end", geaendert(10, {0x00, 0x00, 0x01}), {0, 4}, {2}},
        {"record points into the index", geaendert(10, {0x05}), {0, 3, 4}, {2}},
        {"size code no writer uses", geaendert(14, {0xFE}), {0, 3, 4}, {2}},
        {"size code too small: the payload stops short", geaendert(14, {uint8_t(code - 10)}), {0, 3, 4}, {2}},
        {"size code too large: bytes left over", geaendert(14, {uint8_t(code + 5)}), {0, 3, 4}, {2}},
    };
    Block b;
    for (const auto& f : faelle) {
        dateiSchreiben(d.datei, f.inhalt);
        for (int k : f.heil) EXPECT_TRUE(d.lesen(uint64_t(k), b) && b == d.bloecke[size_t(k)]) << f.was << " block " << k;
        for (int k : f.kaputt) EXPECT_FALSE(d.lesen(uint64_t(k), b)) << f.was << " block " << k;
    }
    // A file named for a larger material is too short for its index, and
    // block numbers beyond the material do not exist.
    dateiSchreiben(d.datei, gut);
    EXPECT_FALSE(d.lesen(0, b, 1280));
    EXPECT_FALSE(d.lesen(20, b));
    EXPECT_FALSE(bbBlockLesen(d.v.datei("KTK.vbb"), 0, 20, b.data()));
}

TEST(BitbaseDatei, DumpListsIndexAndPayloads)
{
    KdkDatei d;
    const int code = uint8_t(dateiText(d.datei)[14]);
    ASSERT_EQ(bitbaseErklaeren(d.v.datei("KDK").c_str()), 0);
    const std::string text = dateiText(d.v.datei("KDK.txt"));
    char z[240];
    std::snprintf(z, sizeof(z),
                  "       2: 64 00 00 00 %02x Position 00000064 %d Bytes\n"
                  "       3: %02x 00 00 00 00 Position 000000%02x 512 Bytes\n"
                  "       4: 64 00 00 00 %02x Position 00000064 %d Bytes Wiederholung\n",
                  code, code, 100 + code, 100 + code, code, code);
    const std::string anfang = std::string("#################\n###   Index   ###\n#################\n\n") +
                               "       0: 00 ff ff ff 00 00 .. 00\n       1: ff ff ff ff 00 ff .. ff\n" + z;
    EXPECT_EQ(text.substr(0, anfang.size()), anfang);
    const std::string kopf = "\n##########################\n###   Block %d          ###\n##########################\n\n";
    char b2[120], b3[120];
    std::snprintf(b2, sizeof(b2), kopf.c_str(), 2);
    std::snprintf(b3, sizeof(b3), (kopf + "unkomprimierte Daten\n").c_str(), 3);
    const size_t p2 = text.find(b2), p3 = text.find(b3);
    ASSERT_LT(p2, p3);
    ASSERT_NE(p3, std::string::npos);
    EXPECT_EQ(text.find("###   Block 4"), std::string::npos); // a shared payload is listed once
    EXPECT_NE(text.find("komprimiert zu " + std::to_string(code) + " Bytes\n", p2), std::string::npos);
    EXPECT_EQ(text.size(), p3 + std::strlen(b3));

    // Refused: a name too long, no material, no file. A truncated payload
    // ends its listing with an error line, and the tool says the file is
    // damaged.
    for (const std::string& name : {std::string(1020, 'K'), d.v.datei("KXK"), d.v.datei("KTK")})
        EXPECT_NE(bitbaseErklaeren(name.c_str()), 0) << name;
    EXPECT_FALSE(std::filesystem::exists(d.v.datei("KTK.txt")));
    dateiSchreiben(d.datei, dateiText(d.datei).substr(0, 110));
    EXPECT_EQ(bitbaseErklaeren(d.v.datei("KDK").c_str()), 1);
    EXPECT_NE(dateiText(d.v.datei("KDK.txt")).find(": Fehler\n"), std::string::npos);
    // An empty file or one cut inside its index is no dump at all.
    for (const std::string& kurz : {std::string(), dateiText(d.datei).substr(0, 99)}) {
        std::filesystem::remove(d.v.datei("KDK.txt"));
        dateiSchreiben(d.datei, kurz);
        EXPECT_EQ(bitbaseErklaeren(d.v.datei("KDK").c_str()), 1) << kurz.size();
        EXPECT_FALSE(std::filesystem::exists(d.v.datei("KDK.txt"))) << kurz.size();
    }
}

} // namespace
