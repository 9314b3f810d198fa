#include "eval/gewichte.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>

#include "eval/gewichte_eingebaut.h"
#include "platform/dateisystem.h"

namespace {

constexpr std::size_t ZEILE_MAX = 4096;
constexpr std::size_t DATEI_MAX = 1 << 20;

// Index of the entry with this name, or -1.
int eintragFinden(const char* name, std::size_t laenge)
{
    for (int i = 0; i < G_ANZAHL; ++i)
        if (std::strlen(GEWICHT_EINTRAEGE[i].name) == laenge && !std::memcmp(GEWICHT_EINTRAEGE[i].name, name, laenge))
            return i;
    return -1;
}

bool leer(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// A whole number of at most nine digits with an optional sign; p moves
// past it. False for anything else (fractions, exponents, "nan", letters).
bool ganzzahl(const char*& p, const char* ende, int64_t& v)
{
    const char* q = p;
    bool minus = false;
    if (q < ende && (*q == '-' || *q == '+')) minus = *q++ == '-';
    int ziffern = 0;
    v = 0;
    while (q < ende && *q >= '0' && *q <= '9') {
        if (++ziffern > 9) return false;
        v = v * 10 + (*q++ - '0');
    }
    if (!ziffern || (q < ende && !leer(*q))) return false;
    if (minus) v = -v;
    p = q;
    return true;
}

std::string zeilenFehler(std::size_t zeile, const std::string& text)
{
    return "line " + std::to_string(zeile) + ": " + text;
}

} // namespace

const Gewichte_t& eingebauteGewichte()
{
    return GEWICHTE_EINGEBAUT;
}

Gewicht_t gewichtVon(int index)
{
    int e = 0;
    while (e + 1 < G_ANZAHL && GEWICHT_VERSATZ.anfang[e + 1] <= index) ++e;
    return Gewicht_t(e);
}

std::string gewichtName(int index)
{
    const Gewicht_t e = gewichtVon(index);
    return std::string(GEWICHT_EINTRAEGE[e].name) + "[" + std::to_string(index - versatz(e)) + "]";
}

std::string gewichteText(const Gewichte_t& g, const char* kopf)
{
    std::string s;
    if (kopf && *kopf) s += kopf;
    for (int e = 0; e < G_ANZAHL; ++e) {
        s += GEWICHT_EINTRAEGE[e].name;
        const int32_t* z = g.von(Gewicht_t(e));
        for (int i = 0; i < gewichtBreite(GEWICHT_EINTRAEGE[e]); ++i) s += " " + std::to_string(z[i]);
        s += '\n';
    }
    return s;
}

GewichteLesen_t gewichteLesen(const char* text, std::size_t laenge, Gewichte_t& g)
{
    GewichteLesen_t r;
    g = eingebauteGewichte();
    bool gesehen[G_ANZAHL] = {};
    const char* p = text;
    const char* const ende = text + laenge;
    std::size_t zeile = 0;
    while (p < ende) {
        ++zeile;
        const char* zEnde = static_cast<const char*>(std::memchr(p, '\n', std::size_t(ende - p)));
        if (!zEnde) zEnde = ende;
        if (std::size_t(zEnde - p) > ZEILE_MAX) {
            r.fehler = zeilenFehler(zeile, "longer than " + std::to_string(ZEILE_MAX) + " characters");
            break;
        }
        const char* q = p;
        p = zEnde < ende ? zEnde + 1 : ende;
        while (q < zEnde && leer(*q)) ++q;
        if (q == zEnde || *q == '#') continue;
        const char* name = q;
        while (q < zEnde && !leer(*q)) ++q;
        const int e = eintragFinden(name, std::size_t(q - name));
        if (e < 0) {
            r.fehler = zeilenFehler(zeile, "unknown entry '" + std::string(name, std::size_t(std::min<std::ptrdiff_t>(q - name, 60))) + "'");
            break;
        }
        const GewichtEintrag_t& ein = GEWICHT_EINTRAEGE[e];
        if (gesehen[e]) {
            r.fehler = zeilenFehler(zeile, std::string("entry ") + ein.name + " given twice");
            break;
        }
        gesehen[e] = true;
        const int breite = gewichtBreite(ein);
        int32_t werte[64];
        int n = 0;
        for (;;) {
            while (q < zEnde && leer(*q)) ++q;
            if (q == zEnde) break;
            int64_t v = 0;
            if (n == breite) {
                r.fehler = zeilenFehler(zeile, std::string(ein.name) + ": more than " + std::to_string(breite) + " values");
                break;
            }
            if (!ganzzahl(q, zEnde, v)) {
                r.fehler = zeilenFehler(zeile, std::string(ein.name) + ": value " + std::to_string(n + 1) + " is not a whole number");
                break;
            }
            if (v < ein.minimum || v > ein.maximum) {
                r.fehler = zeilenFehler(zeile, std::string(ein.name) + ": value " + std::to_string(v) + " outside " +
                                                   std::to_string(ein.minimum) + ".." + std::to_string(ein.maximum));
                break;
            }
            werte[n++] = int32_t(v);
        }
        if (!r.fehler.empty()) break;
        if (n < breite) {
            r.fehler = zeilenFehler(zeile, std::string(ein.name) + ": " + std::to_string(n) + " values instead of " + std::to_string(breite));
            break;
        }
        std::memcpy(g.von(Gewicht_t(e)), werte, sizeof(int32_t) * std::size_t(breite));
        ++r.gelesen;
    }
    if (r.fehler.empty() && r.gelesen == 0) r.fehler = "no weights in it";
    if (!r.fehler.empty()) {
        g = eingebauteGewichte();
        return r;
    }
    for (int e = 0; e < G_ANZAHL; ++e) {
        if (gesehen[e]) continue;
        if (r.fehlendAnzahl++) r.fehlend += ", ";
        r.fehlend += GEWICHT_EINTRAEGE[e].name;
    }
    r.ok = true;
    return r;
}

GewichteLesen_t gewichteDateiLesen(const std::string& datei, Gewichte_t& g)
{
    GewichteLesen_t r;
    g = eingebauteGewichte();
    // Only a regular file: a FIFO or a device named here would block or
    // never end.
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> ein(dateiOeffnen(datei, Dateimodus::LESEN_BINAER),
                                                             std::fclose);
    if (!ein) {
        r.fehler = "cannot open the file";
        return r;
    }
    std::string inhalt;
    char puffer[65536];
    std::size_t n;
    while ((n = std::fread(puffer, 1, sizeof puffer, ein.get())) > 0) {
        inhalt.append(puffer, n);
        if (inhalt.size() > DATEI_MAX) {
            r.fehler = "larger than 1 MB";
            return r;
        }
    }
    if (std::ferror(ein.get())) {
        r.fehler = "cannot read the file";
        return r;
    }
    return gewichteLesen(inhalt.data(), inhalt.size(), g);
}
