#include "protocol/buch_befehle.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>

#include "book/buch.h"
#include "bookcalc/buch_auswertung.h"
#include "bookcalc/buchberechnung.h"
#include "bookcalc/stellungsanalyse.h"
#include "files/ausgabedatei.h"
#include "protocol/uci_ausgabe.h"
#include "shell/ausgabe.h"
#include "shell/zahlen.h"

namespace {

// Arguments this long make the whole sub-command do nothing.
constexpr std::size_t ARGUMENT_GRENZE = 1024;

bool leer(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool endetMit(const char* text, const char* ende)
{
    const std::size_t n = std::strlen(text), m = std::strlen(ende);
    return n >= m && !std::strcmp(text + n - m, ende);
}

// A flag word: followed by a blank or a line end, or ending the line.
bool schalter(const char* text, const char* wort)
{
    for (const char* folge : {" ", "\r", "\n"})
        if (std::strstr(text, (std::string(wort) + folge).c_str())) return true;
    return endetMit(text, wort);
}

// The argument that starts at p (white space skipped) and ends at the
// earliest of the following keywords or at the line's end, trailing white
// space removed. False when it is too long.
bool argument(const char* p, std::initializer_list<const char*> folgende, std::string& wert)
{
    while (*p && leer(*p)) ++p;
    const char* ende = p + std::strlen(p);
    for (const char* wort : folgende)
        if (const char* q = std::strstr(p, wort); q && q < ende) ende = q;
    while (ende > p && leer(ende[-1])) --ende;
    if (std::size_t(ende - p) >= ARGUMENT_GRENZE) return false;
    wert.assign(p, ende);
    return true;
}

// The number after a keyword anywhere in the text, or the default.
int64_t zahlNach(const char* text, const char* wort, int64_t standard)
{
    const char* p = std::strstr(text, wort);
    int64_t v = standard;
    if (p) ganzzahlLesen(p + std::strlen(wort), v);
    return v;
}

void entropie(const std::string& datei, Ausgabe_t& aus)
{
    Buch_t buch;
    buch.nameSetzen(datei);
    if (!buch.load()) {
        aus.Fehler("book entropy: cannot read the book ", datei.c_str());
        return;
    }
    const double h = buchEntropie(buch);
    char zeile[64];
    std::snprintf(zeile, sizeof zeile, "info book entropy %10.2f", h);
    blanksZusammenfassen(zeile);
    aus.Zeile(zeile);
}

void positionen(const std::string& datei, const std::string& ziel)
{
    Buch_t buch;
    buch.nameSetzen(datei);
    if (!buch.load()) return;
    Ausgabedatei_t aus(ziel);
    if (!aus.offen()) {
        std::fprintf(stderr, "Fehler beim Öffnen von %s\n", ziel.c_str());
        return;
    }
    buchEndstellungen(buch, aus.datei());
    if (!aus.abschliessen()) std::fprintf(stderr, "Fehler beim Schreiben von %s\n", ziel.c_str());
}

} // namespace

void buchBefehl(const char* zeile, std::unique_ptr<Buchberechnung_t>& objekt, Ausgabe_t& ausgabe)
{
    // The text after the word "book"; every keyword starts with a blank.
    const char* t = std::strstr(zeile, "book");
    if (!t) return;
    t += 4;
    std::string a, b;
    auto nachWort = [&](const char* wort) { return std::strstr(t, wort); };

    if (schalter(t, " delete")) {
        objekt.reset();
    } else if (nachWort(" lock")) {
        if (objekt) objekt->gesperrt = true;
    } else if (nachWort(" unlock")) {
        if (objekt) objekt->gesperrt = false;
    } else if (const char* p = nachWort(" add ")) {
        if (!argument(p + 5, {" value ", " CalcELO"}, a)) return;
        const int64_t wert = std::clamp<int64_t>(zahlNach(t, " value ", 1000), 0, UINT32_MAX);
        if (!objekt) objekt = std::make_unique<Buchberechnung_t>();
        objekt->partienHinzufuegen(a, double(wert), schalter(t, " CalcELO"));
    } else if (const char* p = nachWort(" readmem ")) {
        if (!argument(p + 9, {}, a)) return;
        // A failed read leaves things as they were: an object made for it
        // goes again, so a following "write" cannot replace a book with an
        // empty one.
        const bool neu = !objekt;
        if (neu) objekt = std::make_unique<Buchberechnung_t>();
        if (!objekt->bildLesen(a) && neu) objekt.reset();
    } else if (const char* p = nachWort(" writemem ")) {
        if (argument(p + 10, {}, a) && objekt && !objekt->bildSchreiben(a))
            std::fprintf(stderr, "Fehler beim Schreiben der Datei %s\n", a.c_str());
    } else if (const char* p = nachWort(" write960 ")) {
        // Nothing to write for Chess960 start positions: the statistics go.
        if (argument(p + 10, {" threshold ", " width "}, a)) objekt.reset();
    } else if (const char* p = std::strstr(t, " write"); p && (!std::strncmp(p, " writeEPD ", 10) || leer(p[6]))) {
        const int sprung = p[6] == 'E' ? 10 : 7;
        if (!argument(p + sprung, {" threshold ", " width "}, a) || !objekt) return;
        const int schwelle = auf32(zahlNach(t, " threshold ", 3000));
        const int breite = auf32(zahlNach(t, " width ", 25));
        // A book that could not be written keeps its statistics.
        if (objekt->buchSchreiben(a, schwelle, breite)) objekt.reset();
    } else if (const char* p = nachWort(" entropy ")) {
        if (argument(p + 9, {}, a)) entropie(a, ausgabe);
    } else if (const char* p = nachWort(" positions ")) {
        const char* aus = std::strstr(p + 11, " out ");
        if (!argument(p + 11, {" out "}, a) || !aus || !argument(aus + 5, {}, b)) return;
        positionen(a, b);
    } else if (const char* p = nachWort(" makepos ")) {
        const char* aus = std::strstr(p + 9, " out ");
        if (!argument(p + 9, {" out ", " nodes ", " hash "}, a) || !aus || !argument(aus + 5, {" nodes ", " hash "}, b))
            return;
        const int64_t knoten = zahlNach(t, " nodes ", 1000000);
        const int hash = int(std::clamp<int64_t>(zahlNach(t, " hash ", 3), 1, 32000));
        stellungenAnalysieren(a.c_str(), b.c_str(), knoten, hash);
    } else if (const char* p = nachWort(" addpos ")) {
        if (!argument(p + 8, {" value "}, a)) return;
        const int64_t wert = std::clamp<int64_t>(zahlNach(t, " value ", 1000), 0, UINT32_MAX);
        if (!objekt) objekt = std::make_unique<Buchberechnung_t>();
        objekt->analysenHinzufuegen(a, double(wert));
    }
}
