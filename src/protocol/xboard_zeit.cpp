#include "protocol/xboard_zeit.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "shell/worttext.h"
#include "shell/zahlen.h"

namespace {
constexpr double GRENZE = 1e15;

// The next white-space delimited token: [anfang, ende); false at the end.
bool tokenNehmen(const char*& p, const char*& anfang, const char*& ende)
{
    while (*p && weiss(*p)) ++p;
    if (!*p) return false;
    anfang = p;
    while (*p && !weiss(*p)) ++p;
    ende = p;
    return true;
}

// A whole token as a non-negative integer, saturated.
bool ganzesToken(const char* anfang, const char* ende, int64_t& wert)
{
    if (anfang == ende || *anfang == '-' || *anfang == '+') return false;
    const char* rest = ganzzahlLesen(anfang, wert);
    return rest == ende;
}

// Base time of a period: "5" (minutes) or "2:30" (minutes and seconds).
bool basisLesen(const char* anfang, const char* ende, double& ms)
{
    const char* doppelpunkt = static_cast<const char*>(std::memchr(anfang, ':', std::size_t(ende - anfang)));
    int64_t minuten = 0, sekunden = 0;
    if (!ganzesToken(anfang, doppelpunkt ? doppelpunkt : ende, minuten)) return false;
    if (doppelpunkt && !ganzesToken(doppelpunkt + 1, ende, sekunden)) return false;
    constexpr int64_t MAX = 1000000000;
    ms = (double(std::min(minuten, MAX)) * 60.0 + double(std::min(sekunden, MAX))) * 1000.0;
    return true;
}
} // namespace

Zeitkontrolle_t Zeitkontrolle_t::standard()
{
    Zeitkontrolle_t tk;
    tk.periode[0] = {0, 300000.0, 0.0};
    return tk;
}

const char* dezimalLesen(const char* p, double& wert)
{
    while (*p && weiss(*p)) ++p;
    bool negativ = false;
    if (*p == '-' || *p == '+') negativ = *p++ == '-';
    double v = 0;
    bool ziffer = false;
    for (; *p >= '0' && *p <= '9'; ++p, ziffer = true) v = std::min(v * 10 + (*p - '0'), GRENZE);
    if (*p == '.') {
        // The fraction as a whole number over a power of ten: "0.25" is
        // exactly 25 / 100.
        double bruch = 0, nenner = 1;
        for (++p; *p >= '0' && *p <= '9'; ++p, ziffer = true) {
            if (nenner >= 1e15) continue;
            bruch = bruch * 10 + (*p - '0');
            nenner *= 10;
        }
        v += bruch / nenner;
    }
    if (!ziffer) return nullptr;
    wert = negativ ? -v : v;
    return p;
}

GoUhr_t goUhrWaehlen(const Zeitkontrolle_t& tk, int64_t k)
{
    for (int i = 0; i < Zeitkontrolle_t::PERIODEN; ++i) {
        const Periode_t& p = tk.periode[i];
        const int64_t m = p.zuege;
        if (m == 0) return {0, p.inkrementMs};
        if (m > 0 && tk.istLetzte(i)) return {int32_t(m - k % m), p.inkrementMs};
        if (k < m) return {int32_t(m - k), p.inkrementMs};
        if (m < 0) return {0, p.inkrementMs};
        k -= m;
    }
    return {0, tk.periode[0].inkrementMs};
}

double uhrBonus(const Zeitkontrolle_t& tk, int64_t k)
{
    for (int i = 0; i < Zeitkontrolle_t::PERIODEN; ++i) {
        const Periode_t& p = tk.periode[i];
        const int64_t m = p.zuege;
        if (m <= 0) return p.inkrementMs;
        // The move that closes a period brings the time of the next one (a
        // repeating last period brings its own again).
        if (tk.istLetzte(i)) return p.inkrementMs + (m - k % m == 1 ? p.basisMs : 0.0);
        if (k < m) return p.inkrementMs + (m - k == 1 ? tk.periode[i + 1].basisMs : 0.0);
        k -= m;
    }
    return 0;
}

bool levelLesen(const char* text, Zeitkontrolle_t& tk)
{
    Zeitkontrolle_t neu;
    int gelesen = 0;
    const char* p = text;
    for (int i = 0; i < Zeitkontrolle_t::PERIODEN; ++i) {
        const char *a, *e;
        int64_t zuege = 0;
        if (!tokenNehmen(p, a, e)) break;
        // A negative count is no move count; the period would be taken for
        // an absent one.
        if (!ganzesToken(a, e, zuege)) break;
        ++gelesen;
        if (!tokenNehmen(p, a, e) || !basisLesen(a, e, neu.periode[i].basisMs)) break;
        ++gelesen;
        double inkrement = 0;
        if (!tokenNehmen(p, a, e) || dezimalLesen(a, inkrement) != e || inkrement < 0) break;
        ++gelesen;
        neu.periode[i].zuege = auf32(zuege);
        neu.periode[i].inkrementMs = inkrement * 1000.0;
    }
    if (gelesen == 0 || gelesen % 3 != 0) return false;
    tk = neu;
    return true;
}
