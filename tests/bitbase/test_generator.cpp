#include <gtest/gtest.h>

#include <filesystem>

#include "../test_hilfen.h"
#include "bitbase/cache.h"
#include "bitbase/generator.h"
#include "bitbase_hilfen.h"
#include "orakel.h"
#include "vergleich.h"

namespace {

// Generates the materials in order; stdout lines collected.
std::string erzeugen(const TestVerzeichnis& v, std::initializer_list<const char*> namen, bool erwartet = true)
{
    std::string ausgabe;
    for (const char* n : namen) {
        std::FILE* f = std::tmpfile();
        EXPECT_EQ(bitbaseErzeugen(n, v.pfad, f, f), erwartet) << n;
        ausgabe += dateiInhalt(f);
        std::fclose(f);
    }
    return ausgabe;
}

// Every legal position of each three-piece material, both sides to move,
// both colour orders, against the independent solver.
TEST(BitbaseGenerator, ThreePieceSetsAgreeWithTheIndependentSolver)
{
    TestVerzeichnis v;
    erzeugen(v, {"KDK", "KKD", "KTK", "KKT", "KLK", "KKL", "KSK", "KKS", "KBK", "KKB"});
    BitbaseCache_t cache(8 * 1048576);
    cache.setPath(v.pfad);
    for (const char* name : {"KDK", "KTK", "KLK", "KSK", "KBK"}) {
        const Vergleich_t e = bitbasenVergleichen(orakel::loeser(name), cache);
        EXPECT_GT(e.geprueft, 100000u) << name;
        EXPECT_EQ(e.falsch, 0u) << name << ": " << e.erstesProblem;
        EXPECT_EQ(e.unbekannt, 0u) << name << ": " << e.erstesProblem;
        // Minor pieces alone never win; queen and rook always do with
        // White to move when the piece is safe.
        if (name[1] == 'L' || name[1] == 'S') EXPECT_EQ(e.weissGewinnt, 0u) << name;
        else EXPECT_GT(e.weissGewinnt, 0u) << name;
    }
}

TEST(BitbaseGenerator, ProgressLinesAndTheWrittenFile)
{
    TestVerzeichnis v;
    const std::string text = erzeugen(v, {"KDK"});
    EXPECT_EQ(text.rfind("KDK: Iteration 0 fertig\nKDK: Iteration 1: ", 0), 0u) << text;
    EXPECT_NE(text.find("KDK: Iteration 2: "), std::string::npos);
    // The last pass finds nothing new.
    ASSERT_GE(text.size(), 4u);
    EXPECT_EQ(text.substr(text.size() - 4), ": 0\n");
    EXPECT_TRUE(std::filesystem::exists(v.datei("KDK.vbb")));
    EXPECT_FALSE(std::filesystem::exists(v.datei("KDK.vbb.tmp")));
    // A lone king wins nothing: KKD is all zero blocks.
    erzeugen(v, {"KKD"});
    EXPECT_EQ(std::filesystem::file_size(v.datei("KKD.vbb")), 20u * 5);
}

TEST(BitbaseGenerator, MissingSmallerBitbasesAndBadNamesAreRefused)
{
    TestVerzeichnis v;
    const struct {
        const char* name;
        const char* meldung;
    } faelle[] = {
        {"KBK", "Fehler in UmwPruefen"},    // promotion needs KDK and friends
        {"KDKT", "Fehler in BitPruefen"},   // capturing the rook needs KDK
        {"KDKTLS", "invalid material name"},
        {"KXK", "invalid material name"},
        {"KK", "two bare kings"},
    };
    for (const auto& f : faelle) {
        const std::string text = erzeugen(v, {f.name}, false);
        EXPECT_NE(text.find(f.meldung), std::string::npos) << f.name << ": " << text;
        EXPECT_FALSE(std::filesystem::exists(v.datei(std::string(f.name) + ".vbb"))) << f.name;
    }
    EXPECT_NE(erzeugen(v, {"KBK"}, false).find("KBK: Iteration 0 fertig"), std::string::npos);
}

} // namespace
