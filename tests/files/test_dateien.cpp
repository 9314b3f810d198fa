// Names that stand for something other than a regular file: every reader
// of outside files treats a directory or a device exactly like a missing
// file (no exception, no hang), and no writer opens or replaces one. The
// file helpers the readers share: whole reads, streams, and the temporary
// file a writer renames.

#include "../test_hilfen.h"
#include "bitbase/blockcoder.h"
#include "bitbase/cache.h"
#include "bitbase/datei.h"
#include "book/buch.h"
#include "bookcalc/buchbaum.h"
#include "bookcalc/buchberechnung.h"
#include "bookcalc/stellungsanalyse.h"
#include "files/ausgabedatei.h"
#include "files/eingabedatei.h"
#include "gamefiles/csvn.h"
#include "gamefiles/pgn_leser.h"
#include "gamefiles/testpos.h"
#include "protocol/zeit_befehle.h"
#include "timenet/zeitnetz_trainer.h"

namespace {

struct Leser {
    const char* name;
    // What the reader makes of the file, as text.
    std::function<std::string(const std::string&)> lesen;
};

const Leser LESER[] = {
    {"opening book", [](const std::string& d) {
         Buch_t b;
         b.nameSetzen(d);
         return std::to_string(b.load());
     }},
    {"PGN", [](const std::string& d) {
         PgnLeser_t p;
         p.fehlerZiel(nullptr);
         const bool ok = p.oeffnen(d);
         return std::to_string(ok) + p.letzterFehler().substr(p.letzterFehler().rfind(':'));
     }},
    {"statistics image", [](const std::string& d) { return std::to_string(Buchberechnung_t().bildLesen(d)); }},
    {"analyses", [](const std::string& d) { return std::to_string(Buchberechnung_t().analysenHinzufuegen(d, 1000)); }},
    {"positions to analyse", [](const std::string& d) {
         TestVerzeichnis v;
         return std::to_string(stellungenAnalysieren(d.c_str(), v.datei("aus").c_str(), 10, 1));
     }},
    {"time samples", [](const std::string& d) {
         std::size_t schlecht = 0;
         return std::to_string(int(ZeitnetzTrainer_t().probenHinzufuegen(d, schlecht)));
     }},
    {"time net", [](const std::string& d) { return std::to_string(ZeitnetzTrainer_t().netzLesen(d)); }},
    {"--Testpos parameters", [](const std::string& d) {
         TestposParameter_t p;
         std::string fehler;
         return std::to_string(testposParameterLesen(d, p, fehler)) + fehler.substr(0, fehler.find(' '));
     }},
    {"--CSVN input", [](const std::string& d) {
         TestVerzeichnis v;
         return std::to_string(csvnWerkzeug(d.c_str(), v.datei("aus").c_str()));
     }},
    {"whole file", [](const std::string& d) {
         std::vector<unsigned char> daten;
         return std::to_string(dateiEinlesen(d, daten));
     }},
    {"bitbase block", [](const std::string& d) {
         uint8_t block[BB_BLOCK];
         return std::to_string(bbBlockLesen(d, 0, 20, block));
     }},
};

TEST(UngewoehnlicheDateien, DirectoriesAndDevicesReadLikeMissingFiles)
{
    TestVerzeichnis v;
    const std::string fehlt = v.datei("fehlt"), verzeichnis = v.datei("ordner");
    std::filesystem::create_directory(verzeichnis);
    for (const Leser& l : LESER) {
        const std::string erwartet = l.lesen(fehlt);
        for (const std::string& pfad : {verzeichnis, std::string("/dev/null")})
            EXPECT_EQ(l.lesen(pfad), erwartet) << l.name << ": " << pfad;
    }
    // The search's bitbase reader: a directory in the place of a file is
    // no file.
    std::filesystem::create_directory(v.datei("KDK.vbb"));
    BitbaseCache_t cache(1048576);
    cache.setPath(v.pfad);
    EXPECT_EQ(cache.lookup("KDK", 0, false), -1);
    // The book tool's tree: the start position alone when the file is
    // missing; a directory is refused (nothing could be saved there).
    Buchbaum_t baum;
    EXPECT_EQ(baum.laden(fehlt, nullptr), Buchbaum_t::FEHLT);
    EXPECT_EQ(baum.laden(verzeichnis, nullptr), Buchbaum_t::DEFEKT);
    // The "time add" command says so.
    Mitschrift<StummeAusgabe> aus;
    std::unique_ptr<ZeitnetzTrainer_t> trainer;
    zeitBefehl(("time add " + verzeichnis).c_str(), trainer, aus);
    EXPECT_EQ(aus.zeilen, std::vector<std::string>{"info string file not found: " + verzeichnis});
}

// A writer never opens a directory, neither under its own name nor under
// its temporary one, and replaces nothing. (FIFOs and devices: the script
// test of damaged files; a test that got a device wrong would replace it.)
TEST(UngewoehnlicheDateien, WritersRefuseWhatIsNoRegularFile)
{
    TestVerzeichnis v;
    std::filesystem::create_directory(v.datei("ordner"));
    std::filesystem::create_directory(v.datei("x.opn.tmp"));
    for (const std::string& ziel : {v.datei("ordner"), v.datei("x.opn")}) {
        Ausgabedatei_t a(ziel);
        EXPECT_FALSE(a.offen()) << ziel;
        EXPECT_FALSE(a.abschliessen()) << ziel;
    }
    EXPECT_TRUE(std::filesystem::is_directory(v.datei("ordner")));
    EXPECT_TRUE(std::filesystem::is_directory(v.datei("x.opn.tmp")));
    // A durable write ends in the real name, with nothing left over.
    Ausgabedatei_t a(v.datei("gut.bin"), true, true);
    ASSERT_TRUE(a.offen());
    std::fputs("abc", a.datei());
    EXPECT_TRUE(a.abschliessen());
    EXPECT_EQ(dateiText(v.datei("gut.bin")), "abc");
    EXPECT_FALSE(std::filesystem::exists(v.datei("gut.bin.tmp")));
}

TEST(UngewoehnlicheDateien, StreamsReadWholeFilesAndKnowTheirState)
{
    TestVerzeichnis v;
    const std::string gross = std::string(200000, 'x') + "\nende";
    dateiSchreiben(v.datei("a.txt"), gross);
    Eingabestrom_t ein(v.datei("a.txt"));
    ASSERT_TRUE(ein.offen());
    std::string zeile;
    ASSERT_TRUE(std::getline(ein, zeile));
    EXPECT_EQ(zeile.size(), 200000u);
    ASSERT_TRUE(std::getline(ein, zeile));
    EXPECT_EQ(zeile, "ende");
    EXPECT_FALSE(std::getline(ein, zeile));
    EXPECT_FALSE(ein.lesefehler());
    std::vector<unsigned char> alles;
    ASSERT_TRUE(dateiEinlesen(v.datei("a.txt"), alles));
    EXPECT_EQ(std::string(alles.begin(), alles.end()), gross);
    Eingabestrom_t fehlt(v.datei("fehlt"));
    EXPECT_FALSE(fehlt.offen());
    EXPECT_FALSE(fehlt);
}

} // namespace
