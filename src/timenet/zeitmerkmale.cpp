#include "timenet/zeitmerkmale.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

// Winning expectation of a score.
double erwartung(int32_t wert)
{
    return 1.0 / (1.0 + std::pow(10.0, -double(wert) * 110.0 / 1000.0 / 400.0));
}

} // namespace

void zeitMerkmaleBerechnen(const Iterationsdaten_t& jetzt, const Iterationsdaten_t& vorher, Zeitmerkmale_t& m)
{
    const Zug* pv = jetzt.hauptvariante;
    const Zug* pvAlt = vorher.hauptvariante;
    const double gesamt = jetzt.knotenGesamt ? double(jetzt.knotenGesamt) : 1.0;
    const double gesamtAlt = double(vorher.knotenGesamt);

    m[0] = jetzt.gewechselt[0];
    m[1] = jetzt.gewechselt[1];
    m[2] = jetzt.gewechselt[2];
    m[3] = pv[1] == pvAlt[1];
    m[4] = pv[2] == pvAlt[2];
    m[5] = pv[1] == pvAlt[3];
    m[6] = pvAlt[1] == pv[3];
    m[7] = jetzt.imSchach != 0;
    m[8] = jetzt.taktisch != 0;
    m[9] = jetzt.wurzelZuege / 40.0;
    m[10] = jetzt.bedroht * 0.5;
    m[11] = gesamtAlt / (gesamtAlt + gesamt);
    m[12] = double(jetzt.knotenBester) / gesamt;
    m[13] = double(jetzt.knotenAndere1) / gesamt;
    m[14] = double(jetzt.knotenAndere2) / gesamt;
    m[15] = 15.0 * (erwartung(jetzt.bewertung) - erwartung(vorher.bewertung));
}

std::string zeitZahlText(double x)
{
    char puffer[48];
    int n = std::snprintf(puffer, sizeof puffer, "%g", x);
    return std::string(puffer, n > 0 && n < int(sizeof puffer) ? size_t(n) : 0);
}

std::string zeitMerkmaleText(const Zeitmerkmale_t& m)
{
    std::string text;
    text.reserve(ZEIT_MERKMALE * 14);
    for (double x : m) {
        text += zeitZahlText(x);
        text += ' ';
    }
    return text;
}

bool zeitMerkmaleLesen(std::string_view text, Zeitmerkmale_t& m)
{
    const char* p = text.data();
    const char* ende = p + text.size();
    for (double& x : m) {
        while (p < ende && (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n')) ++p;
        if (p < ende && *p == '+') ++p; // from_chars takes no plus sign
        auto [weiter, fehler] = std::from_chars(p, ende, x);
        if (fehler != std::errc{}) return false;
        p = weiter;
    }
    return true;
}
