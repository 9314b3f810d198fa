#include "bookcalc/buchbaum.h"

#include <algorithm>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "chess/fen.h"
#include "chess/notation.h"
#include "chess/spiel.h"
#include "chess/zugdaten.h"
#include "chess/zugmachen.h"
#include "files/ausgabedatei.h"
#include "files/binaer.h"
#include "files/eingabedatei.h"
#include "gamefiles/pgn_leser.h"
#include "platform/dateisystem.h"

namespace {

// Lines of the tree are followed at most this deep (a stack frame each).
constexpr int MAX_TIEFE = 400;

std::string fenVon(const Stellung_t& st)
{
    char puffer[128];
    fenSchreiben(st, puffer);
    return puffer;
}

std::string zugVon(const Stellung_t& st, Zug z)
{
    char puffer[8];
    zugSchreiben(st, z, puffer);
    return puffer;
}

void melden(std::FILE* f, const std::string& text)
{
    if (!f) return;
    std::fprintf(f, "%s\n", text.c_str());
    std::fflush(f);
}

} // namespace

void Buchbaum_t::startKnoten()
{
    knoten.clear();
    BaumKnoten_t k;
    k.wert = 0;
    k.legal = 20;
    knoten[startSchluessel()] = k;
}

uint64_t Buchbaum_t::startSchluessel() const
{
    Stellung_t st;
    Stellungsdaten_t d;
    stellungSetzen(st, d, nullptr);
    return d.schluessel;
}

bool Buchbaum_t::lesen(std::vector<unsigned char> daten)
{
    if (pruefAnhangAbtrennen(daten) == PruefAnhang::FALSCH) return false;
    BinaerLeser b(std::move(daten));
    uint32_t format = 0;
    uint64_t n = 0;
    if (!b.lesen(format) || format != BAUM_FORMAT || !b.lesen(n) || n > b.rest() / 24) return false;
    std::map<uint64_t, BaumKnoten_t> neu;
    for (uint64_t i = 0; i < n; ++i) {
        uint64_t k = 0;
        BaumKnoten_t kn;
        uint32_t wert = 0, anzahl = 0;
        if (!b.lesen(k) || !b.lesen(wert) || !b.lesen(kn.legal) || !b.lesen(kn.flags) || !b.lesen(anzahl) ||
            anzahl > b.rest() / 24)
            return false;
        kn.wert = int32_t(wert);
        kn.zuege.resize(anzahl);
        for (BaumZug_t& z : kn.zuege) {
            uint32_t w = 0;
            if (!b.lesen(z.kind) || !b.lesen(w) || !b.lesen(z.flags) || !b.lesen(z.zug) || !b.lesen(z.partien))
                return false;
            z.wert = int32_t(w);
        }
        if (!neu.emplace(k, std::move(kn)).second) return false;
    }
    if (b.rest() != 0) return false;
    knoten.swap(neu);
    return true;
}

Buchbaum_t::Laden Buchbaum_t::laden(const std::string& datei, std::FILE* meldungen)
{
    // A name that stands for a directory or a device is no tree; it would
    // be no place to save one either.
    switch (dateiArt(datei)) {
    case Dateiart::FEHLT:
        startKnoten();
        return FEHLT;
    case Dateiart::ANDERE:
        melden(meldungen, "Baumdatei " + datei + " ist keine Datei");
        return DEFEKT;
    case Dateiart::REGULAER: break;
    }
    std::vector<unsigned char> daten;
    if (!dateiEinlesen(datei, daten)) {
        melden(meldungen, "Baumdatei " + datei + " ist nicht lesbar");
        return DEFEKT;
    }
    if (!lesen(std::move(daten))) {
        melden(meldungen, "Baumdatei " + datei + " ist beschädigt");
        return DEFEKT;
    }
    if (!knoten.count(startSchluessel())) {
        melden(meldungen, "Stellung nicht gefunden " + std::string("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -"));
        BaumKnoten_t k;
        k.legal = 20;
        knoten[startSchluessel()] = k;
        melden(meldungen, "korrigiert");
    }
    // Marks of a run that was interrupted while it worked.
    bool inArbeit = false;
    for (auto& [k, kn] : knoten) inArbeit |= (kn.flags & KNOTEN_IN_ARBEIT) != 0;
    if (inArbeit) melden(meldungen, "Bearbeitete Position gefunden");
    for (auto& [k, kn] : knoten) {
        kn.flags &= ~KNOTEN_IN_ARBEIT;
        if (kn.flags & KNOTEN_GESPERRT) {
            melden(meldungen, "Gesperrte Position gefunden");
            kn.flags &= ~KNOTEN_GESPERRT;
            melden(meldungen, "korrigiert");
        }
    }
    pruefen(meldungen);
    werteBerechnen();
    return GELADEN;
}

bool Buchbaum_t::speichern(const std::string& datei) const
{
    // The tree is hours of searches: it reaches the disk before it replaces
    // the older file.
    Ausgabedatei_t aus(datei, true, true);
    if (!aus.offen()) return false;
    BinaerSchreiber b(aus.datei());
    b.schreiben(BAUM_FORMAT);
    b.schreiben<uint64_t>(knoten.size());
    for (const auto& [k, kn] : knoten) {
        b.schreiben(k);
        b.schreiben(uint32_t(kn.wert));
        b.schreiben(kn.legal);
        b.schreiben(kn.flags);
        b.schreiben(uint32_t(kn.zuege.size()));
        for (const BaumZug_t& z : kn.zuege) {
            b.schreiben(z.kind);
            b.schreiben(uint32_t(z.wert));
            b.schreiben(z.flags);
            b.schreiben(z.zug);
            b.schreiben(z.partien);
        }
    }
    return b.abschliessen() && aus.abschliessen();
}

int Buchbaum_t::pruefen(std::FILE* meldungen)
{
    int probleme = 0;
    auto korrigiert = [&] {
        ++probleme;
        melden(meldungen, "korrigiert");
    };
    std::unordered_map<uint64_t, std::string> fens;
    Stellung_t st;
    Stellungsdaten_t start;
    stellungSetzen(st, start, nullptr);

    auto pruefe = [&](auto& selbst, const Stellungsdaten_t& d, int tiefe) -> void {
        const uint64_t k = d.schluessel;
        const std::string fen = fenVon(st);
        auto [it, neu] = fens.emplace(k, fen);
        if (!neu) {
            if (it->second != fen) {
                ++probleme;
                melden(meldungen, "Verschiedene FENs zu gleichem Hash: " + it->second + " / " + fen);
            }
            return;
        }
        BaumKnoten_t& kn = knoten[k];
        const uint32_t legal = uint32_t(legaleZuegeZaehlen(st, d));
        if (kn.legal != legal) {
            melden(meldungen, "In Stellung " + fen + ": " + std::to_string(legal) + " legale Züge statt " +
                                  std::to_string(kn.legal));
            kn.legal = legal;
            korrigiert();
        }
        // Null moves, then moves that are illegal here or come twice.
        auto nullZuege = std::remove_if(kn.zuege.begin(), kn.zuege.end(), [](const BaumZug_t& z) { return !istZug(z.zug); });
        if (nullZuege != kn.zuege.end()) {
            kn.zuege.erase(nullZuege, kn.zuege.end());
            melden(meldungen, "Nullzug in " + fen);
            korrigiert();
        }
        std::set<uint32_t> gesehen;
        auto schlecht = std::remove_if(kn.zuege.begin(), kn.zuege.end(), [&](const BaumZug_t& z) {
            return !zugLegal(st, d, z.zug) || !gesehen.insert(z.zug & 0xFFFF).second;
        });
        if (schlecht != kn.zuege.end()) {
            melden(meldungen, std::to_string(kn.zuege.end() - schlecht) + " illegale oder doppelte Züge vorhanden in " + fen);
            kn.zuege.erase(schlecht, kn.zuege.end());
            korrigiert();
        }
        if ((kn.flags & KNOTEN_VOLLSTAENDIG) && kn.zuege.size() < legal) {
            melden(meldungen, std::to_string(legal - kn.zuege.size()) + " fehlende Züge in vollständiger Stellung " + fen);
            kn.flags &= ~KNOTEN_VOLLSTAENDIG;
            korrigiert();
        }
        if (tiefe >= MAX_TIEFE) return;
        for (std::size_t i = 0; i < knoten[k].zuege.size(); ++i) {
            Stellungsdaten_t neuD;
            Zugdaten_t zd;
            const Zug z = knoten[k].zuege[i].zug;
            zugMachenSuche(st, z, neuD, d, zd);
            if (knoten[k].zuege[i].kind != neuD.schluessel) {
                zugZuruecknehmen(zd);
                melden(meldungen, "In Stellung " + fen + " führt " + zugVon(st, z) + " in eine andere Stellung");
                zugMachenSuche(st, z, neuD, d, zd);
                knoten[k].zuege[i].kind = neuD.schluessel;
                korrigiert();
            }
            if (!knoten.count(neuD.schluessel)) {
                melden(meldungen, "Stellung nicht gefunden " + fenVon(st));
                BaumKnoten_t kind;
                kind.legal = uint32_t(legaleZuegeZaehlen(st, neuD));
                knoten[neuD.schluessel] = kind;
                korrigiert();
            }
            selbst(selbst, neuD, tiefe + 1);
            zugZuruecknehmen(zd);
        }
    };
    if (!knoten.count(start.schluessel)) startKnoten();
    pruefe(pruefe, start, 0);
    return probleme;
}

bool Buchbaum_t::zugWert(const BaumZug_t& z, int32_t& wert) const
{
    auto it = knoten.find(z.kind);
    if (it != knoten.end() && (it->second.flags & KNOTEN_BEWERTET)) {
        wert = -it->second.wert;
        return true;
    }
    if (z.flags & ZUG_BEWERTET) {
        wert = z.wert;
        return true;
    }
    return false;
}

void Buchbaum_t::werteBerechnen()
{
    std::unordered_set<uint64_t> fertig, aufDemWeg;
    auto wert = [&](auto& selbst, uint64_t k, int tiefe) -> void {
        auto it = knoten.find(k);
        if (it == knoten.end() || fertig.count(k) || aufDemWeg.count(k) || tiefe >= MAX_TIEFE) return;
        aufDemWeg.insert(k);
        BaumKnoten_t& kn = it->second;
        bool irgendein = false;
        int32_t bester = -BAUM_MATT;
        for (BaumZug_t& z : kn.zuege) {
            int32_t w;
            if (aufDemWeg.count(z.kind)) {
                w = 0; // back into a position of this line: a repetition
            } else {
                selbst(selbst, z.kind, tiefe + 1);
                if (!zugWert(z, w)) continue;
            }
            z.wert = w;
            z.flags |= ZUG_BEWERTET;
            bester = irgendein ? std::max(bester, w) : w;
            irgendein = true;
        }
        if (irgendein) {
            kn.wert = bester;
            kn.flags |= KNOTEN_BEWERTET;
        }
        aufDemWeg.erase(k);
        fertig.insert(k);
    };
    wert(wert, startSchluessel(), 0);
}

bool Buchbaum_t::partienHinzufuegen(const std::string& datei, int maxHalbzuege)
{
    PgnLeser_t pgn;
    if (!pgn.oeffnen(datei)) return false;
    std::vector<Zug> zuege;
    PgnTags_t tags;
    std::string fen;
    int ergebnis;
    while (pgn.gefiltertLesen(zuege, &tags, &ergebnis, &fen, nullptr, nullptr)) {
        if (!fen.empty() || tags["Termination"] == "time") continue;
        Stellung_t st;
        Stellungsdaten_t d[2];
        stellungSetzen(st, d[0], nullptr);
        for (std::size_t i = 0; i < zuege.size() && int(i) < maxHalbzuege; ++i) {
            const uint64_t k = d[i & 1].schluessel;
            Zugdaten_t zd;
            if (!zugMachenSuche(st, zuege[i], d[(i + 1) & 1], d[i & 1], zd)) break;
            const uint64_t kind = d[(i + 1) & 1].schluessel;
            if (!knoten.count(kind)) {
                BaumKnoten_t neu;
                neu.legal = uint32_t(legaleZuegeZaehlen(st, d[(i + 1) & 1]));
                knoten[kind] = neu;
                ++neueKnoten;
            }
            BaumKnoten_t& kn = knoten[k];
            auto z = std::find_if(kn.zuege.begin(), kn.zuege.end(), [&](const BaumZug_t& x) { return x.zug == zuege[i]; });
            if (z == kn.zuege.end()) {
                BaumZug_t neu;
                neu.kind = kind;
                neu.zug = zuege[i];
                kn.zuege.push_back(neu);
                z = kn.zuege.end() - 1;
            }
            z->flags |= ZUG_PARTIE;
            ++z->partien;
        }
    }
    werteBerechnen();
    return true;
}

namespace {

// The moves of a node that stay on the book's lines: within breite of the
// best, best first (the order of the node among equals).
std::vector<std::pair<const BaumZug_t*, int32_t>> linienZuege(const Buchbaum_t& b, const BaumKnoten_t& kn, double breite)
{
    std::vector<std::pair<const BaumZug_t*, int32_t>> r;
    for (const BaumZug_t& z : kn.zuege) {
        int32_t w;
        if (b.zugWert(z, w)) r.push_back({&z, w});
    }
    std::stable_sort(r.begin(), r.end(), [](const auto& x, const auto& y) { return x.second > y.second; });
    if (!r.empty()) {
        const double grenze = r[0].second - breite;
        r.erase(std::remove_if(r.begin(), r.end(), [&](const auto& x) { return x.second < grenze; }), r.end());
    }
    return r;
}

int buchGewicht(int32_t wert, int32_t bester, double breite)
{
    const double g = (wert - bester + breite) * 99.0 / std::max(breite, 1e-9);
    return g > 0 ? int(std::min(g, 99.0)) : 0;
}

} // namespace

bool Buchbaum_t::buchSchreiben(const std::string& datei, double breite) const
{
    Ausgabedatei_t aus(datei);
    if (!aus.offen()) {
        std::fprintf(stderr, "info string error opening the output file %s\n", datei.c_str());
        return false;
    }
    std::FILE* f = aus.datei();
    std::unordered_set<uint64_t> geschrieben;
    Stellung_t st;
    Stellungsdaten_t start;
    stellungSetzen(st, start, nullptr);
    auto schreiben = [&](auto& selbst, const Stellungsdaten_t& d, int tiefe) -> void {
        auto it = knoten.find(d.schluessel);
        if (it == knoten.end() || tiefe >= MAX_TIEFE || !geschrieben.insert(d.schluessel).second) return;
        const auto zuege = linienZuege(*this, it->second, breite);
        bool erster = true;
        for (const auto& [z, w] : zuege) {
            Stellungsdaten_t neu;
            Zugdaten_t zd;
            if (!zugLegal(st, d, z->zug)) continue;
            if (!erster) std::fprintf(f, "\n%*s", tiefe * 10, "");
            erster = false;
            std::fprintf(f, "%-6s%3d ", zugVon(st, z->zug).c_str(), buchGewicht(w, zuege[0].second, breite));
            zugMachenSuche(st, z->zug, neu, d, zd);
            selbst(selbst, neu, tiefe + 1);
            zugZuruecknehmen(zd);
            std::fputs(" *", f);
        }
    };
    schreiben(schreiben, start, 0);
    std::fputs(" * -1\n", f);
    if (aus.abschliessen()) return true;
    std::fprintf(stderr, "info string error writing the output file %s\n", datei.c_str());
    return false;
}

void Buchbaum_t::drucken(std::FILE* aus, int breite) const
{
    std::fprintf(aus, "Fehlerbreite %d\n", breite);
    std::fprintf(aus, "Baumgröße: %zu, Neue Knoten: %llu\n", knoten.size(), (unsigned long long)neueKnoten);

    std::unordered_set<uint64_t> gedruckt, linie;
    Stellung_t st;
    Stellungsdaten_t start;
    stellungSetzen(st, start, nullptr);
    auto drucke = [&](auto& selbst, const Stellungsdaten_t& d, int tiefe) -> void {
        auto it = knoten.find(d.schluessel);
        if (it == knoten.end()) return;
        gedruckt.insert(d.schluessel);
        linie.insert(d.schluessel);
        const auto zuege = linienZuege(*this, it->second, breite);
        if (zuege.empty()) std::fputs(" (Ende) ", aus);
        // Each move's share of the position in a book written with this width.
        double summe = 0;
        for (const auto& [z, w] : zuege) summe += buchGewicht(w, zuege[0].second, breite);
        for (const auto& [z, w] : zuege) {
            if (!zugLegal(st, d, z->zug)) continue;
            std::fprintf(aus, "\n%*s", tiefe * 4, "");
            std::fprintf(aus, "%s (%d;%f%%)", zugVon(st, z->zug).c_str(), int(w),
                         summe > 0 ? 100.0 * buchGewicht(w, zuege[0].second, breite) / summe : 0.0);
            if (linie.count(z->kind)) {
                std::fputs(" -->WDH", aus);
            } else if (gedruckt.count(z->kind)) {
                std::fputs(" --> ", aus);
            } else if (tiefe < MAX_TIEFE) {
                Stellungsdaten_t neu;
                Zugdaten_t zd;
                zugMachenSuche(st, z->zug, neu, d, zd);
                selbst(selbst, neu, tiefe + 1);
                zugZuruecknehmen(zd);
            }
        }
        if (!zuege.empty()) std::fprintf(aus, "\n%*s*", tiefe * 4, "");
        linie.erase(d.schluessel);
    };
    drucke(drucke, start, 0);
    std::fputs("\n", aus);
}
