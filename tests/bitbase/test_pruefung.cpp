// Damaged bitbase files: whatever is wrong with a file, no reader answers
// from it differently from the intact file. The cache (the search's
// reader), the generator (which builds on smaller files), the directory
// check and the dump each meet every kind of damage; files made before
// checksums came still answer.
#include "../test_hilfen.h"
#include "bitbase/cache.h"
#include "bitbase/datei.h"
#include "bitbase/erklaeren.h"
#include "bitbase/generator.h"
#include "bitbase/index.h"
#include "bitbase/pruefung.h"
#include "bitbase_hilfen.h"
#include "files/pruefsumme.h"

namespace {

using Bytes = std::string;
const char* const MATERIALIEN[] = {"KDK", "KTK", "KLK", "KSK"};

// The four materials a pawn promotes into, generated once; the tests work
// on copies.
const TestVerzeichnis& vorlage()
{
    static const TestVerzeichnis v = [] {
        TestVerzeichnis t;
        for (const char* n : MATERIALIEN) EXPECT_TRUE(bitbaseErzeugen(n, t.pfad, nullptr, nullptr)) << n;
        return t;
    }();
    return v;
}

struct Kopie {
    TestVerzeichnis v;
    Kopie()
    {
        for (const char* n : MATERIALIEN)
            for (const char* e : {".vbb", ".crc"})
                std::filesystem::copy_file(vorlage().datei(std::string(n) + e), v.datei(std::string(n) + e));
    }
    std::string ktk() const { return v.datei("KTK.vbb"); }
};

// Every index of a material through a fresh cache: the bit, or -1. The
// cache's messages go to `meldungen`; once fetched they are gone.
std::vector<int8_t> alleAntworten(const std::string& verzeichnis, const char* name,
                                  std::vector<std::string>* meldungen = nullptr)
{
    BitbaseCache_t cache(8 * 1048576);
    cache.setPath(verzeichnis);
    BbStellung_t m;
    materialLesen(name, m);
    std::vector<int8_t> r(bbPositionen(m));
    for (uint64_t i = 0; i < r.size(); ++i) r[i] = int8_t(cache.lookup(name, i, false));
    const std::vector<std::string> gemeldet = cache.meldungenAbholen();
    EXPECT_TRUE(cache.meldungenAbholen().empty());
    if (meldungen) *meldungen = gemeldet;
    return r;
}

// The directory check: its exit code and report.
std::pair<int, std::string> pruefen(const TestVerzeichnis& v)
{
    return mitschreiben([&](std::FILE* f) { return bitbaseVerzeichnisPruefen(v.pfad.c_str(), f); });
}

struct Schaden {
    std::string was;
    std::function<void(Bytes& vbb, Bytes& crc)> anrichten;
};

// Kinds of damage: single bytes of every block record and of payloads
// spread over the file, whole-file damage, and a damaged checksum file.
std::vector<Schaden> schaeden(const Bytes& vbb, uint64_t bloecke)
{
    std::vector<Schaden> s;
    const std::size_t index = std::size_t(bloecke) * BB_SATZ;
    for (std::size_t p = 0; p < vbb.size(); p += p < index ? 2 : 13)
        s.push_back({"byte " + std::to_string(p) + " inverted", [p](Bytes& d, Bytes&) { d[p] = char(~d[p]); }});
    s.push_back({"lowest bit of the last payload byte", [](Bytes& d, Bytes&) { d[d.size() - 4] ^= 1; }});
    s.push_back({"same size, all 0xFF", [](Bytes& d, Bytes&) { d.assign(d.size(), '\xff'); }});
    s.push_back({"same size, all zero", [](Bytes& d, Bytes&) { d.assign(d.size(), '\0'); }});
    s.push_back({"last byte cut off", [](Bytes& d, Bytes&) { d.pop_back(); }});
    s.push_back({"cut to half", [](Bytes& d, Bytes&) { d.resize(d.size() / 2); }});
    s.push_back({"empty", [](Bytes& d, Bytes&) { d.clear(); }});
    s.push_back({"one byte appended", [](Bytes& d, Bytes&) { d += 'x'; }});
    s.push_back({"two block records swapped",
                 [](Bytes& d, Bytes&) { std::swap_ranges(d.begin() + 5 * 4, d.begin() + 5 * 5, d.begin() + 5 * 6); }});
    s.push_back({"checksum of another file", [](Bytes&, Bytes& c) { c.replace(c.size() - 9, 8, "0badf00d"); }});
    s.push_back({"checksum file garbage", [](Bytes&, Bytes& c) { c = "garbage\n"; }});
    s.push_back({"checksum file empty", [](Bytes&, Bytes& c) { c.clear(); }});
    return s;
}

TEST(BitbasePruefung, ChecksumFileNamesSizeAndCrcOfTheFile)
{
    const std::string vbb = dateiText(vorlage().datei("KTK.vbb"));
    char zeile[64];
    std::snprintf(zeile, sizeof zeile, "KTK.vbb %zu %08x\n", vbb.size(), unsigned(crc32(vbb.data(), vbb.size())));
    EXPECT_EQ(dateiText(vorlage().datei("KTK.crc")), zeile);
    EXPECT_EQ(crc32("123456789", 9), 0xCBF43926u); // the standard check value
    EXPECT_EQ(bbSummenDatei("dir/KTK.vbb"), "dir/KTK.crc");
    EXPECT_EQ(bbDateiPruefen(vorlage().datei("KTK.vbb")), BbPruefung::GUT);
    EXPECT_EQ(bbDateiPruefen(vorlage().datei("KTKD.vbb")), BbPruefung::FEHLT);
}

// The cache over every index of KTK: a damaged file answers nothing, never
// something else. A sample of the damage meets every reader of bitbase
// files: the cache answers nothing and names the file once, the generator
// refuses to build on it, the check names it, the dump fails. The intact
// file without its checksum file (as written before checksums came)
// answers exactly as with it.
TEST(BitbasePruefung, NoDamagedFileEverAnswersDifferentlyAndEveryReaderRefusesIt)
{
    const std::vector<int8_t> intakt = alleAntworten(vorlage().pfad, "KTK");
    ASSERT_EQ(std::count(intakt.begin(), intakt.end(), -1), 0);
    ASSERT_GT(std::count(intakt.begin(), intakt.end(), 1), 10000);
    const std::set<std::string> stichprobe = {"byte 3 inverted", "lowest bit of the last payload byte",
                                              "same size, all 0xFF", "one byte appended", "checksum of another file"};
    Kopie k;
    const Bytes vbb = dateiText(k.ktk()), crc = dateiText(k.v.datei("KTK.crc"));
    for (const Schaden& s : schaeden(vbb, 20)) {
        SCOPED_TRACE(s.was);
        Bytes d = vbb, c = crc;
        s.anrichten(d, c);
        dateiSchreiben(k.ktk(), d);
        dateiSchreiben(k.v.datei("KTK.crc"), c);
        std::vector<std::string> m;
        const std::vector<int8_t> a = alleAntworten(k.v.pfad, "KTK", &m);
        uint64_t anders = 0;
        for (std::size_t i = 0; i < a.size(); ++i) anders += a[i] >= 0 && a[i] != intakt[i];
        EXPECT_EQ(anders, 0u);
        if (!stichprobe.count(s.was)) continue;

        EXPECT_EQ(std::count(a.begin(), a.end(), -1), std::ptrdiff_t(a.size()));
        ASSERT_EQ(m.size(), 1u);
        EXPECT_NE(m[0].find(k.ktk() + " is damaged"), std::string::npos) << m[0];
        const auto [gebaut, meldung] = mitschreiben([&](std::FILE* f) {
            return bitbaseErzeugen("KBK", k.v.pfad, nullptr, f);
        });
        EXPECT_FALSE(gebaut);
        EXPECT_NE(meldung.find("KTK.vbb is damaged"), std::string::npos) << meldung;
        EXPECT_FALSE(std::filesystem::exists(k.v.datei("KBK.vbb")));
        const auto [rc, bericht] = pruefen(k.v);
        EXPECT_EQ(rc, 1);
        EXPECT_NE(bericht.find("KTK.vbb: DAMAGED"), std::string::npos) << bericht;
        EXPECT_NE(bericht.find("KDK.vbb: ok"), std::string::npos) << bericht;
        EXPECT_EQ(bitbaseErklaeren(k.v.datei("KTK").c_str()), 1);
    }
    dateiSchreiben(k.ktk(), vbb);
    std::filesystem::remove(k.v.datei("KTK.crc"));
    EXPECT_TRUE(alleAntworten(k.v.pfad, "KTK") == intakt);
}

// Without checksum files (a set made before they came) everything works
// as before; the check can still find a block that does not decode. A
// checksum file whose bitbase is gone means a missing file.
TEST(BitbasePruefung, OldFilesWithoutChecksumAndMissingFiles)
{
    Kopie k;
    for (const char* n : MATERIALIEN) std::filesystem::remove(k.v.datei(std::string(n) + ".crc"));
    auto [rc, bericht] = pruefen(k.v);
    EXPECT_EQ(rc, 0);
    EXPECT_NE(bericht.find("KTK.vbb: no checksum file; every block readable"), std::string::npos) << bericht;
    EXPECT_TRUE(bitbaseErzeugen("KBK", k.v.pfad, nullptr, nullptr));
    EXPECT_EQ(bbDateiPruefen(k.v.datei("KBK.vbb")), BbPruefung::GUT);

    // A record pointing behind the end of the file.
    Bytes d = dateiText(k.ktk());
    for (std::size_t r = 0; r < 100; r += 5)
        if (uint8_t(d[r + 1]) != 0xFF || uint8_t(d[r + 2]) != 0xFF) {
            d[r + 3] = '\x7f';
            break;
        }
    dateiSchreiben(k.ktk(), d);
    std::tie(rc, bericht) = pruefen(k.v);
    EXPECT_EQ(rc, 1);
    EXPECT_NE(bericht.find("KTK.vbb: DAMAGED (1 of 20 blocks unreadable; no checksum file)"), std::string::npos)
        << bericht;

    std::filesystem::remove(k.ktk());
    dateiSchreiben(k.v.datei("KTK.crc"), "KTK.vbb 1 00000000\n");
    std::tie(rc, bericht) = pruefen(k.v);
    EXPECT_EQ(rc, 1);
    EXPECT_NE(bericht.find("KTK.vbb: MISSING"), std::string::npos) << bericht;
    TestVerzeichnis leer;
    EXPECT_EQ(pruefen(leer).first, 1);
}

} // namespace
