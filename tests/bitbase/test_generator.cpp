#include "../test_hilfen.h"
#include "bitbase/cache.h"
#include "bitbase/generator.h"
#include "bitbase_hilfen.h"
#include "vergleich.h"

namespace {

// Generates the materials in order; their progress and error lines.
std::string erzeugen(const TestVerzeichnis& v, std::initializer_list<const char*> namen, bool erwartet = true)
{
    std::string ausgabe;
    for (const char* n : namen) {
        const auto [ok, text] = mitschreiben([&](std::FILE* f) { return bitbaseErzeugen(n, v.pfad, f, f); });
        EXPECT_EQ(ok, erwartet) << n;
        ausgabe += text;
    }
    return ausgabe;
}

// Every legal position of each three-piece material, both sides to move,
// both colour orders, against the independent solver; then the file and
// the progress lines.
TEST(BitbaseGenerator, ThreePieceSetsAgreeWithTheIndependentSolver)
{
    TestVerzeichnis v;
    const std::string text = erzeugen(v, {"KDK", "KKD", "KTK", "KKT", "KLK", "KKL", "KSK", "KKS", "KBK", "KKB"});
    BitbaseCache_t cache(8 * 1048576);
    cache.setPath(v.pfad);
    for (const char* name : {"KDK", "KTK", "KLK", "KSK", "KBK"}) {
        const Vergleich_t e = bitbasenVergleichen(orakel::loeser(name), cache);
        EXPECT_GT(e.geprueft, 100000u) << name;
        EXPECT_EQ(e.falsch + e.unbekannt, 0u) << name << ": " << e.erstesProblem;
        // Minor pieces alone never win; queen, rook and pawn do.
        EXPECT_EQ(e.weissGewinnt > 0, name[1] != 'L' && name[1] != 'S') << name;
    }
    EXPECT_EQ(text.rfind("KDK: Iteration 0 fertig\nKDK: Iteration 1: ", 0), 0u) << text;
    EXPECT_NE(text.find("KDK: Iteration 2: "), std::string::npos);
    const std::string kdk = text.substr(0, text.find("KKD"));
    EXPECT_EQ(kdk.substr(kdk.size() - 4), ": 0\n"); // the last pass finds nothing new
    EXPECT_FALSE(std::filesystem::exists(v.datei("KDK.vbb.tmp")));
    // A lone king wins nothing: KKD is all zero blocks.
    EXPECT_EQ(std::filesystem::file_size(v.datei("KKD.vbb")), 20u * 5);
}

TEST(BitbaseGenerator, MissingSmallerBitbasesAndBadNamesAreRefused)
{
    TestVerzeichnis v;
    const std::pair<const char*, const char*> faelle[] = {
        {"KBK", "Fehler in UmwPruefen"},  // promotion needs KDK and friends
        {"KDKT", "Fehler in BitPruefen"}, // capturing the rook needs KDK
        {"KDKTLS", "invalid material name"},
        {"KXK", "invalid material name"},
        {"KK", "two bare kings"},
    };
    for (const auto& [name, meldung] : faelle) {
        EXPECT_NE(erzeugen(v, {name}, false).find(meldung), std::string::npos) << name;
        EXPECT_FALSE(std::filesystem::exists(v.datei(std::string(name) + ".vbb"))) << name;
    }
    EXPECT_NE(erzeugen(v, {"KBK"}, false).find("KBK: Iteration 0 fertig"), std::string::npos); // also after an error
}

} // namespace
