#include "bookcalc/buchberechnung.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "book/buch.h"
#include "chess/fen.h"
#include "chess/notation.h"
#include "files/ausgabedatei.h"
#include "files/binaer.h"
#include "files/eingabedatei.h"

namespace {
constexpr std::size_t EINTRAG_BYTES = 56;
} // namespace

double ergebnisAusWert(int wert)
{
    return 2.0 / (1.0 + std::pow(10.0, -double(wert) * 0.11 / 400.0)) - 1.0;
}

void Buchberechnung_t::beobachtung(uint64_t schluessel, double s0, double s1, double s2, uint32_t zug)
{
    auto [anfang, ende] = eintraege.equal_range(schluessel);
    for (auto it = anfang; it != ende; ++it) {
        if (it->second.zug != zug) continue;
        it->second.summeWR += s0;
        it->second.summeWRR += s1;
        it->second.summeW += s2;
        return;
    }
    if (gesperrt) return;
    BuchStatistik_t s;
    s.summeWR = s0;
    s.summeWRR = s1;
    s.summeW = s2;
    s.zug = zug;
    eintraege.emplace_hint(ende, schluessel, s);
}

bool Buchberechnung_t::analysenHinzufuegen(const std::string& datei, double wert)
{
    Eingabestrom_t ein(datei);
    if (!ein) {
        std::fprintf(stderr, "Fehler beim Öffnen der Datei %s\n", datei.c_str());
        return false;
    }
    const double w = wert / 1000.0;
    // The observations count only when the whole file could be read.
    struct Beobachtung {
        uint64_t schluessel;
        double r;
        uint32_t zug;
    };
    std::vector<Beobachtung> neu;
    std::string zeile;
    while (std::getline(ein, zeile)) {
        // MOVE SCORE FEN: the move at most 8 characters, the FEN at most 89.
        char zugText[9] = {};
        int score = 0, gelesen = 0;
        if (std::sscanf(zeile.c_str(), " %8s %d %n", zugText, &score, &gelesen) < 2) continue;
        std::string fen = zeile.substr(std::size_t(gelesen), 89);
        Stellung_t st;
        Stellungsdaten_t d;
        if (!stellungSetzen(st, d, fen.c_str())) continue;
        const Zug z = zugTextLesen(st, d, zugText);
        if (!istZug(z)) continue;
        double r = ergebnisAusWert(score);
        if (st.amZug == SCHWARZ) r = -r;
        neu.push_back({buchSchluessel(st), r, buchZug(z, st.amZug)});
    }
    if (ein.lesefehler()) {
        std::fprintf(stderr, "Fehler beim Lesen der Datei %s\n", datei.c_str());
        return false;
    }
    for (const Beobachtung& b : neu) beobachtung(b.schluessel, w * b.r, w * b.r * b.r, w, b.zug);
    return true;
}

bool Buchberechnung_t::bildSchreiben(const std::string& datei) const
{
    // Statistics take long to gather: the file reaches the disk before it
    // replaces an older one.
    Ausgabedatei_t aus(datei, true, true);
    if (!aus.offen()) return false;
    BinaerSchreiber b(aus.datei());
    b.schreiben<uint8_t>(gesperrt ? 1 : 0);
    b.schreiben(schwelle);
    b.schreiben(breite);
    b.schreiben<uint64_t>(signaturen.size());
    for (uint64_t s : signaturen) b.schreiben(s);
    b.schreiben<uint64_t>(eintraege.size());
    for (const auto& [k, s] : eintraege) {
        b.schreiben(k);
        b.schreiben(s.summeWR);
        b.schreiben(s.summeWRR);
        b.schreiben(s.summeW);
        b.schreiben(s.wert);
        b.schreiben(s.mittel);
        b.schreiben(s.unsicherheit);
        b.schreiben(s.zug);
        b.schreiben(s.besucht);
        for (uint8_t f : s.frei) b.schreiben(f);
    }
    return b.abschliessen() && aus.abschliessen();
}

bool Buchberechnung_t::bildLesen(const std::string& datei)
{
    std::vector<unsigned char> daten;
    if (!dateiEinlesen(datei, daten)) {
        std::fprintf(stderr, "Fehler beim Öffnen der Datei %s\n", datei.c_str());
        return false;
    }
    const char* grund = nullptr;
    if (!bildLesen(std::move(daten), &grund)) {
        std::fprintf(stderr, "Fehler beim Lesen der Datei %s: %s\n", datei.c_str(), grund);
        return false;
    }
    return true;
}

bool Buchberechnung_t::bildLesen(std::vector<unsigned char> daten, const char** grund)
{
    const char* nichts;
    const char*& warum = grund ? *grund : nichts;
    if (pruefAnhangAbtrennen(daten) == PruefAnhang::FALSCH) {
        warum = "Prüfsumme falsch, die Datei ist beschädigt";
        return false;
    }
    warum = "kein Statistikbild oder beschädigt";
    BinaerLeser b(std::move(daten));
    Buchberechnung_t neu;
    uint8_t sperre = 0;
    uint64_t n = 0;
    bool ok = b.lesen(sperre) && b.lesen(neu.schwelle) && b.lesen(neu.breite) && b.lesen(n) && n <= b.rest() / 8;
    for (uint64_t i = 0; ok && i < n; ++i) {
        uint64_t s = 0;
        ok = b.lesen(s);
        neu.signaturen.insert(s);
    }
    ok = ok && b.lesen(n) && n == b.rest() / EINTRAG_BYTES && b.rest() % EINTRAG_BYTES == 0;
    for (uint64_t i = 0; ok && i < n; ++i) {
        uint64_t k = 0;
        BuchStatistik_t s;
        ok = b.lesen(k) && b.lesen(s.summeWR) && b.lesen(s.summeWRR) && b.lesen(s.summeW) && b.lesen(s.wert) &&
             b.lesen(s.mittel) && b.lesen(s.unsicherheit) && b.lesen(s.zug) && b.lesen(s.besucht);
        for (uint8_t& f : s.frei) ok = ok && b.lesen(f);
        // Sums that are not numbers would poison every value computed
        // from them.
        ok = ok && std::isfinite(s.summeWR) && std::isfinite(s.summeWRR) && std::isfinite(s.summeW);
        if (ok) neu.eintraege.emplace_hint(neu.eintraege.end(), k, s);
    }
    if (!ok || !std::isfinite(neu.schwelle) || !std::isfinite(neu.breite)) return false;
    gesperrt = sperre != 0;
    schwelle = neu.schwelle;
    breite = neu.breite;
    signaturen.swap(neu.signaturen);
    eintraege.swap(neu.eintraege);
    return true;
}
