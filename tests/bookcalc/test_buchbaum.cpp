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

// The check's count of problems and its messages.
std::pair<int, std::vector<std::string>> pruefen(Buchbaum_t& b)
{
    const auto [probleme, text] = mitschreiben([&](std::FILE* f) { return b.pruefen(f); });
    return {probleme, zeilenAus(text)};
}

uint64_t schluessel(const std::string& zuege)
{
    return nachZuegen(zuege).d.schluessel;
}

// A node's fields and those of its moves, to compare trees.
auto felder(const BaumKnoten_t& k)
{
    std::vector<std::tuple<uint64_t, int32_t, uint32_t, uint32_t, uint32_t>> z;
    for (const BaumZug_t& m : k.zuege) z.emplace_back(m.kind, m.wert, m.flags, m.zug, m.partien);
    return std::tuple(k.wert, k.legal, k.flags, z);
}

using Liste = std::vector<std::string>;

} // namespace

// A tree file goes back and forth whole. Any damage (a flipped bit
// anywhere, cut short or lengthened, another format) is refused with a
// message and the tree in memory stays as it was (the tool then replaces
// nothing); a file written before checksums came (the same bytes without
// the last twelve) loads as always.
TEST(Buchbaum, FileRoundTripAndDefectiveFiles)
{
    // A missing file gives the start position alone.
    Buchbaum_t leer;
    EXPECT_EQ(leer.laden("/nonexistent/Buchberechnung.bin", nullptr), Buchbaum_t::FEHLT);
    ASSERT_EQ(leer.knoten.size(), 1u);
    EXPECT_EQ(leer.knoten.begin()->first, schluessel(""));
    EXPECT_EQ(felder(leer.knoten.begin()->second), felder(BaumKnoten_t{0, 20, 0, {}}));

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
    for (const auto& [k, x] : a.knoten) EXPECT_EQ(felder(x), felder(b.knoten.at(k))) << k;

    auto alle = beschaedigt(bytes);
    alle.emplace_back("last 3 bytes cut off", bytes.substr(0, bytes.size() - 3));
    alle.emplace_back("junk appended", bytes + "x");
    alle.emplace_back("another format", "\x01" + bytes.substr(1));
    for (std::size_t i = 0; i < alle.size(); ++i) {
        const auto& [was, d] = alle[i];
        SCOPED_TRACE(was);
        Buchbaum_t c;
        c.knoten[77] = {};
        EXPECT_FALSE(c.lesen(std::vector<unsigned char>(d.begin(), d.end())));
        EXPECT_EQ(c.knoten.size(), 1u);
        if (i % 97 != 0 && i + 4 < alle.size()) continue;
        // The tool's loader says so.
        datei.schreiben(d);
        const auto [geladen, meldung] = mitschreiben([&](std::FILE* f) { return c.laden(datei.name, f); });
        EXPECT_EQ(geladen, Buchbaum_t::DEFEKT);
        EXPECT_EQ(zeilenAus(meldung), Liste{"Baumdatei " + datei.name + " ist beschädigt"});
        EXPECT_EQ(c.knoten.size(), 1u);
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
        SCOPED_TRACE(f.was);
        Buchbaum_t b;
        spieleBaum(b);
        EXPECT_EQ(pruefen(b), std::pair(0, Liste{}));
        f.stoeren(b);
        EXPECT_EQ(pruefen(b), std::pair(1, f.meldungen));
        EXPECT_EQ(pruefen(b), std::pair(0, Liste{}));
        EXPECT_EQ(b.knoten.size(), 5u);
    }

    // Marks of an interrupted run are reported and cleared when loading.
    Buchbaum_t b;
    spieleBaum(b);
    b.knoten[schluessel("e2e4")].flags |= KNOTEN_IN_ARBEIT | KNOTEN_GESPERRT;
    b.knoten[schluessel("d2d4")].flags |= KNOTEN_IN_ARBEIT;
    TempDatei datei;
    ASSERT_TRUE(b.speichern(datei.name));
    const auto [geladen, meldungen] = mitschreiben([&](std::FILE* f) { return b.laden(datei.name, f); });
    EXPECT_EQ(geladen, Buchbaum_t::GELADEN);
    EXPECT_EQ(zeilenAus(meldungen),
              (Liste{"Bearbeitete Position gefunden", "Gesperrte Position gefunden", "korrigiert"}));
    for (const auto& [k, kn] : b.knoten) EXPECT_EQ(kn.flags & (KNOTEN_IN_ARBEIT | KNOTEN_GESPERRT), 0u);
}

// A short run on two workers: the tree grows along its best lines, stays
// consistent, gives the same tree every time, and makes a book.
TEST(Buchbaum, CalculationRunAndBook)
{
    const BaumParameter_t p{
        .arbeiter = 2, .knotenJeSuche = 3000, .maxHalbzuege = 3, .neueKnotenMax = 6, .hashMb = 1, .sicherung = ""};
    std::string ergebnis[2];
    for (std::string& e : ergebnis) {
        Buchbaum_t b;
        b.startKnoten();
        b.rechnen(p);
        EXPECT_GE(b.neueKnoten, 6u);
        EXPECT_EQ(pruefen(b), std::pair(0, Liste{}));
        const BaumKnoten_t& start = b.knoten[schluessel("")];
        EXPECT_TRUE(start.flags & KNOTEN_BEWERTET);
        ASSERT_FALSE(start.zuege.empty());
        TempDatei datei, buch;
        ASSERT_TRUE(b.speichern(datei.name));
        e = datei.lesen();

        ASSERT_TRUE(b.buchSchreiben(buch.name, 50.0));
        const std::string text = buch.lesen();
        EXPECT_EQ(text.substr(text.size() - 6), " * -1\n");
        Buch_t geladen;
        geladen.nameSetzen(buch.name);
        ASSERT_TRUE(geladen.load()) << text;
        const Liste zuege = buchZuege(geladen, "");
        ASSERT_FALSE(zuege.empty());
        EXPECT_EQ(zuege[0].substr(zuege[0].size() - 3), " 99");

        const Liste druck = zeilenAus(mitschreiben([&](std::FILE* f) { return (b.drucken(f, p.breite), 0); }).second);
        ASSERT_GE(druck.size(), 3u);
        EXPECT_EQ(druck[1], "Baumgröße: " + std::to_string(b.knoten.size()) + ", Neue Knoten: " + std::to_string(b.neueKnoten));
    }
    EXPECT_EQ(ergebnis[0], ergebnis[1]);
}
