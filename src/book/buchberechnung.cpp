#include "book/buchberechnung.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "book/binaer.h"
#include "book/buch.h"
#include "chess/fen.h"
#include "chess/notation.h"
#include "gamefiles/ausgabedatei.h"

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
    std::ifstream ein(datei);
    if (!ein) {
        std::fprintf(stderr, "Fehler beim Öffnen der Datei %s\n", datei.c_str());
        return false;
    }
    const double w = wert / 1000.0;
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
        beobachtung(buchSchluessel(st), w * r, w * r * r, w, buchZug(z, st.amZug));
    }
    return true;
}

bool Buchberechnung_t::bildSchreiben(const std::string& datei) const
{
    Ausgabedatei_t aus(datei, true);
    if (!aus.offen()) return false;
    std::FILE* f = aus.datei();
    binaerSchreiben<uint8_t>(f, gesperrt ? 1 : 0);
    binaerSchreiben(f, schwelle);
    binaerSchreiben(f, breite);
    binaerSchreiben<uint64_t>(f, signaturen.size());
    for (uint64_t s : signaturen) binaerSchreiben(f, s);
    binaerSchreiben<uint64_t>(f, eintraege.size());
    for (const auto& [k, s] : eintraege) {
        binaerSchreiben(f, k);
        binaerSchreiben(f, s.summeWR);
        binaerSchreiben(f, s.summeWRR);
        binaerSchreiben(f, s.summeW);
        binaerSchreiben(f, s.wert);
        binaerSchreiben(f, s.mittel);
        binaerSchreiben(f, s.unsicherheit);
        binaerSchreiben(f, s.zug);
        binaerSchreiben(f, s.besucht);
        for (uint8_t b : s.frei) binaerSchreiben(f, b);
    }
    return aus.abschliessen();
}

bool Buchberechnung_t::bildLesen(const std::string& datei)
{
    std::ifstream ein(datei, std::ios::binary);
    if (!ein) {
        std::fprintf(stderr, "Fehler beim Öffnen der Datei %s\n", datei.c_str());
        return false;
    }
    if (!bildLesen(std::vector<unsigned char>(std::istreambuf_iterator<char>(ein), {}))) {
        std::fprintf(stderr, "Fehler beim Lesen der Datei %s\n", datei.c_str());
        return false;
    }
    return true;
}

bool Buchberechnung_t::bildLesen(std::vector<unsigned char> daten)
{
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
