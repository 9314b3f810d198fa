// The book calculation's tree: its file, the consistency check with its
// messages, a short calculation run and the book written from the tree.

#include "../book/buch_hilfen.h"
#include "bookcalc/buchbaum.h"
#include "files/binaer.h"

namespace {

const char* const START_FEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";

// A tree of two games' openings: 1.e4 e5 2.Nf3 and 1.d4.
void spieleBaum(Buchbaum_t& b)
{
    TempDatei pgn("[White \"a\"]\n[Black \"b\"]\n[Result \"1-0\"]\n1. e4 e5 2. Nf3 1-0\n"
                  "[White \"a\"]\n[Black \"b\"]\n[Result \"0-1\"]\n[Termination \"time\"]\n1. c4 0-1\n"
                  "[White \"a\"]\n[Black \"b\"]\n[Result \"0-1\"]\n1. d4 0-1\n");
    b.startKnoten();
    ASSERT_TRUE(b.partienHinzufuegen(pgn.name, 20));
}

std::vector<std::string> pruefMeldungen(Buchbaum_t& b, int& probleme)
{
    std::FILE* f = std::tmpfile();
    probleme = b.pruefen(f);
    std::vector<std::string> r = zeilenAus(dateiInhalt(f));
    std::fclose(f);
    return r;
}

uint64_t schluessel(const std::string& zuege)
{
    return nachZuegen(zuege).d.schluessel;
}

} // namespace

TEST(Buchbaum, FileRoundTripAndDefectiveFiles)
{
    // A missing file gives the start position alone.
    Buchbaum_t leer;
    EXPECT_EQ(leer.laden("/nonexistent/Buchberechnung.bin", nullptr), Buchbaum_t::FEHLT);
    ASSERT_EQ(leer.knoten.size(), 1u);
    const BaumKnoten_t& k = leer.knoten.begin()->second;
    EXPECT_EQ(std::make_tuple(leer.knoten.begin()->first, k.wert, k.legal, k.flags, k.zuege.size()),
              std::make_tuple(schluessel(""), 0, 20u, 0u, size_t(0)));

    Buchbaum_t a;
    spieleBaum(a);
    EXPECT_EQ(a.knoten.size(), 5u); // start, e4, e4 e5, e4 e5 Nf3, d4 (c4 lost on time)
    a.knoten[schluessel("e2e4")].wert = -17;
    a.knoten[schluessel("e2e4")].flags = KNOTEN_BEWERTET;
    a.werteBerechnen(); // loading computes the values too
    TempDatei datei;
    ASSERT_TRUE(a.speichern(datei.name));
    const std::string bytes = datei.lesen();
    // Format word, count, 5 nodes of 24 bytes, 4 moves of 24 bytes and the
    // checksum.
    EXPECT_EQ(bytes.size(), 4 + 8 + 5 * 24 + 4 * 24u + PRUEF_ANHANG);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\xd2\x04\0\0", 4));

    Buchbaum_t b;
    ASSERT_EQ(b.laden(datei.name, nullptr), Buchbaum_t::GELADEN);
    ASSERT_EQ(b.knoten.size(), a.knoten.size());
    for (const auto& [k, x] : a.knoten) {
        const BaumKnoten_t& y = b.knoten.at(k);
        EXPECT_EQ(std::make_tuple(x.wert, x.legal, x.flags, x.zuege.size()), std::make_tuple(y.wert, y.legal, y.flags, y.zuege.size()));
        for (size_t i = 0; i < x.zuege.size(); ++i)
            EXPECT_EQ(std::make_tuple(x.zuege[i].kind, x.zuege[i].zug, x.zuege[i].partien, x.zuege[i].flags),
                      std::make_tuple(y.zuege[i].kind, y.zuege[i].zug, y.zuege[i].partien, y.zuege[i].flags));
    }
    // A file cut short, with junk behind it or of another format is
    // refused and the tree stays as it was.
    for (const std::string& kaputt : {bytes.substr(0, bytes.size() - 3), bytes + "x", "\x01" + bytes.substr(1)}) {
        datei.schreiben(kaputt);
        EXPECT_EQ(b.laden(datei.name, nullptr), Buchbaum_t::DEFEKT);
        EXPECT_EQ(b.knoten.size(), 5u);
    }
}

// A tree file with a flipped bit anywhere, cut short or lengthened is
// refused with a message and the tree in memory stays as it was (the tool
// then replaces nothing); a file written before checksums came (the same
// bytes without the last twelve) loads as always.
TEST(Buchbaum, DamagedFilesAreRefusedOldOnesLoad)
{
    Buchbaum_t a;
    spieleBaum(a);
    TempDatei datei;
    ASSERT_TRUE(a.speichern(datei.name));
    const std::string bytes = datei.lesen();
    const auto alle = beschaedigt(bytes);
    for (std::size_t i = 0; i < alle.size(); ++i) {
        const auto& [was, d] = alle[i];
        Buchbaum_t b;
        b.knoten[77] = {};
        EXPECT_FALSE(b.lesen(std::vector<unsigned char>(d.begin(), d.end()))) << was;
        EXPECT_EQ(b.knoten.size(), 1u) << was;
        if (i % 97 != 0 && i + 1 != alle.size()) continue;
        // The tool's loader says so.
        datei.schreiben(d);
        std::FILE* f = std::tmpfile();
        EXPECT_EQ(b.laden(datei.name, f), Buchbaum_t::DEFEKT) << was;
        EXPECT_EQ(zeilenAus(dateiInhalt(f)), std::vector<std::string>{"Baumdatei " + datei.name + " ist beschädigt"}) << was;
        std::fclose(f);
        EXPECT_EQ(b.knoten.size(), 1u) << was;
    }
    datei.schreiben(bytes.substr(0, bytes.size() - PRUEF_ANHANG));
    Buchbaum_t alt;
    ASSERT_EQ(alt.laden(datei.name, nullptr), Buchbaum_t::GELADEN);
    EXPECT_EQ(alt.knoten.size(), a.knoten.size());
}

// "--book write FILE WIDTH" takes only a positive width: nan, inf or a
// negative one would write a book without weights. Nothing is read or
// written then.
TEST(Buchbaum, ToolRefusesAWidthThatIsNoPositiveNumber)
{
    TestVerzeichnis v;
    const std::string ziel = v.datei("x.opn");
    for (std::string breite : {"nan", "inf", "-50", "0", "50x", "", "1e999"}) {
        std::string w[] = {"velkaris", "--book", "write", ziel};
        char* argv[] = {w[0].data(), w[1].data(), w[2].data(), w[3].data(), breite.data()};
        EXPECT_EQ(buchWerkzeug(5, argv), -1) << breite;
    }
    EXPECT_FALSE(std::filesystem::exists(ziel));
}

// Every fault the check finds is reported and mended; a second check
// finds nothing.
TEST(Buchbaum, ConsistencyCheck)
{
    const std::string NACH_E4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq -";
    const struct {
        const char* was;
        std::function<void(Buchbaum_t&)> stoeren;
        std::vector<std::string> meldungen;
    } faelle[] = {
        {"null move", [](Buchbaum_t& b) { b.knoten[schluessel("")].zuege.push_back({}); },
         {std::string("Nullzug in ") + START_FEN, "korrigiert"}},
        {"illegal and double moves",
         [](Buchbaum_t& b) {
             auto& z = b.knoten[schluessel("")].zuege;
             z.push_back(z[0]);
             z.push_back(z[0]);
             z.back().zug = zugBauen(E2, E5, BAUER);
         },
         {std::string("2 illegale oder doppelte Züge vorhanden in ") + START_FEN, "korrigiert"}},
        {"wrong key", [](Buchbaum_t& b) { b.knoten[schluessel("")].zuege[0].kind = 12345; },
         {std::string("In Stellung ") + START_FEN + " führt e2e4 in eine andere Stellung", "korrigiert"}},
        {"missing position", [](Buchbaum_t& b) { b.knoten.erase(schluessel("e2e4")); },
         {"Stellung nicht gefunden " + NACH_E4, "korrigiert"}},
        {"complete with missing moves", [](Buchbaum_t& b) { b.knoten[schluessel("")].flags |= KNOTEN_VOLLSTAENDIG; },
         {std::string("18 fehlende Züge in vollständiger Stellung ") + START_FEN, "korrigiert"}},
        {"move count", [](Buchbaum_t& b) { b.knoten[schluessel("e2e4")].legal = 7; },
         {"In Stellung " + NACH_E4 + ": 20 legale Züge statt 7", "korrigiert"}},
    };
    for (const auto& f : faelle) {
        Buchbaum_t b;
        spieleBaum(b);
        int probleme = 0;
        EXPECT_TRUE(pruefMeldungen(b, probleme).empty()) << f.was;
        f.stoeren(b);
        EXPECT_EQ(pruefMeldungen(b, probleme), f.meldungen) << f.was;
        EXPECT_EQ(probleme, 1) << f.was;
        EXPECT_TRUE(pruefMeldungen(b, probleme).empty()) << f.was;
        EXPECT_EQ(b.knoten.size(), 5u) << f.was;
    }

    // Marks of an interrupted run are reported and cleared when loading.
    Buchbaum_t b;
    spieleBaum(b);
    b.knoten[schluessel("e2e4")].flags |= KNOTEN_IN_ARBEIT | KNOTEN_GESPERRT;
    b.knoten[schluessel("d2d4")].flags |= KNOTEN_IN_ARBEIT;
    TempDatei datei;
    ASSERT_TRUE(b.speichern(datei.name));
    std::FILE* f = std::tmpfile();
    ASSERT_EQ(b.laden(datei.name, f), Buchbaum_t::GELADEN);
    EXPECT_EQ(zeilenAus(dateiInhalt(f)),
              (std::vector<std::string>{"Bearbeitete Position gefunden", "Gesperrte Position gefunden", "korrigiert"}));
    std::fclose(f);
    for (const auto& [k, kn] : b.knoten) EXPECT_EQ(kn.flags & (KNOTEN_IN_ARBEIT | KNOTEN_GESPERRT), 0u);
}

// A short run on two workers: the tree grows along its best lines, stays
// consistent, gives the same tree every time, and makes a book.
TEST(Buchbaum, CalculationRunAndBook)
{
    BaumParameter_t p;
    p.arbeiter = 2;
    p.knotenJeSuche = 3000;
    p.neueKnotenMax = 6;
    p.maxHalbzuege = 3;
    p.hashMb = 1;
    std::string ergebnis[2];
    for (std::string& e : ergebnis) {
        Buchbaum_t b;
        b.startKnoten();
        b.rechnen(p);
        EXPECT_GE(b.neueKnoten, 6u);
        int probleme = 0;
        EXPECT_TRUE(pruefMeldungen(b, probleme).empty());
        const BaumKnoten_t& start = b.knoten[schluessel("")];
        EXPECT_TRUE(start.flags & KNOTEN_BEWERTET);
        ASSERT_FALSE(start.zuege.empty());
        TempDatei datei;
        ASSERT_TRUE(b.speichern(datei.name));
        e = datei.lesen();

        TempDatei buch;
        ASSERT_TRUE(b.buchSchreiben(buch.name, 50.0));
        const std::string text = buch.lesen();
        EXPECT_EQ(text.substr(text.size() - 6), " * -1\n");
        Buch_t geladen;
        geladen.nameSetzen(buch.name);
        ASSERT_TRUE(geladen.load()) << text;
        const std::vector<std::string> zuege = buchZuege(geladen, "");
        ASSERT_FALSE(zuege.empty());
        EXPECT_EQ(zuege[0].substr(zuege[0].size() - 3), " 99");

        std::FILE* f = std::tmpfile();
        b.drucken(f, p.breite);
        const std::vector<std::string> druck = zeilenAus(dateiInhalt(f));
        std::fclose(f);
        ASSERT_GE(druck.size(), 3u);
        EXPECT_EQ(druck[1], "Baumgröße: " + std::to_string(b.knoten.size()) + ", Neue Knoten: " + std::to_string(b.neueKnoten));
    }
    EXPECT_EQ(ergebnis[0], ergebnis[1]);
}
