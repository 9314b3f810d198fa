// "book write": the statistics ranked and written as a text book.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "book/buch.h"
#include "bookcalc/buchberechnung.h"
#include "chess/fen.h"
#include "chess/notation.h"
#include "chess/spiel.h"
#include "chess/zugdaten.h"
#include "chess/zugmachen.h"
#include "files/ausgabedatei.h"

namespace {

// Book lines are followed at most this deep (each step is a stack frame).
constexpr int MAX_TIEFE = 200;

using Eintraege = std::multimap<uint64_t, BuchStatistik_t>;

// The entries of the position and their moves for the position itself.
std::vector<BuchStatistik_t*> eintraegeVon(Eintraege& e, const Stellung_t& st)
{
    std::vector<BuchStatistik_t*> r;
    auto [anfang, ende] = e.equal_range(buchSchluessel(st));
    for (auto it = anfang; it != ende; ++it) r.push_back(&it->second);
    return r;
}

// Makes the entry's move when it is legal in the position.
bool machen(Stellung_t& st, const Stellungsdaten_t& d, const BuchStatistik_t& e, Stellungsdaten_t& neu, Zugdaten_t& zd)
{
    const Zug z = buchZug(e.zug, st.amZug);
    return istZug(z) && zugLegal(st, d, z) && zugMachenSuche(st, z, neu, d, zd);
}

class Bewerter {
public:
    Bewerter(Eintraege& e, double schwelle) : e_(e), schwelle_(schwelle) {}

    // Ranks the moves of the position and mixes the result of its best-
    // supported moves into the sums of the entry that led here (c).
    void bewerten(Stellung_t& st, const Stellungsdaten_t& d, double* c, int tiefe)
    {
        std::vector<BuchStatistik_t*> liste = eintraegeVon(e_, st);
        if (liste.empty()) return;
        if (!liste[0]->besucht) {
            for (BuchStatistik_t* e : liste) {
                e->besucht = 1;
                Stellungsdaten_t neu;
                Zugdaten_t zd;
                if (tiefe < MAX_TIEFE && machen(st, d, *e, neu, zd)) {
                    double summen[3] = {e->summeWR, e->summeWRR, e->summeW};
                    bewerten(st, neu, summen, tiefe + 1);
                    e->summeWR = summen[0];
                    e->summeWRR = summen[1];
                    zugZuruecknehmen(zd);
                }
            }
            for (BuchStatistik_t* e : liste) werte(*e);
        }

        // The best move by mean result; the others count as far as their
        // mean is not clearly (three standard errors) below it.
        const BuchStatistik_t* b = liste[0];
        for (const BuchStatistik_t* e : liste)
            if (e->mittel > b->mittel) b = e;
        double a[3] = {0, 0, 0};
        for (const BuchStatistik_t* e : liste) {
            double f = 1.0;
            if (liste.size() > 1 && e != b) {
                const double nenner = std::sqrt(double(e->unsicherheit) * e->unsicherheit +
                                                double(b->unsicherheit) * b->unsicherheit);
                f = nenner > 0 ? std::min(1.0, 1.0 - 3.0 * (double(b->mittel) - e->mittel) / nenner) : 1.0;
            }
            if (f <= 0) continue;
            a[0] += f * e->summeWR;
            a[1] += f * e->summeWRR;
            a[2] += f * e->summeW;
        }
        if (!(a[2] > schwelle_)) return;
        // Mixed in with the sign turned: the child's result is the other
        // side's.
        const double alpha = std::min(1.0, schwelle_ * 1.1 / (schwelle_ * 0.1 + a[2]) + 0.1);
        const double beta = 1.0 - alpha;
        const double nenner = alpha * c[2] + beta * a[2];
        if (!(nenner > 0)) return;
        const double k = c[2] / nenner;
        c[0] = k * (alpha * c[0] - beta * a[0]);
        c[1] = k * (alpha * c[1] + beta * a[1]);
    }

private:
    static void werte(BuchStatistik_t& e)
    {
        if (!(e.summeW > 0)) {
            // No weight behind it (an analysis added with value 0): last.
            e.mittel = 0;
            e.unsicherheit = 1e6f;
            e.wert = -1e6f;
            return;
        }
        const double mittel = e.summeWR / e.summeW;
        const double p = std::clamp((mittel + 1.0) * 0.5, 1.0 / 11.0, 10.0 / 11.0);
        e.mittel = float(mittel);
        e.unsicherheit = float(1.0 / std::sqrt(e.summeW));
        e.wert = float(-400.0 * std::log10(1.0 / p - 1.0) + 5.0 * std::log(e.summeW));
    }

    Eintraege& e_;
    double schwelle_;
};

class Schreiber {
public:
    Schreiber(Eintraege& e, std::FILE* f, double schwelle, int breite)
        : e_(e), f_(f), schwelle_(schwelle), breite_(std::max(breite, 1))
    {
    }

    void schreiben(Stellung_t& st, const Stellungsdaten_t& d, int tiefe)
    {
        std::vector<BuchStatistik_t*> liste = eintraegeVon(e_, st);
        if (liste.empty() || liste[0]->besucht || tiefe >= MAX_TIEFE) return;
        liste[0]->besucht = 1;
        std::vector<BuchStatistik_t*> auswahl;
        for (BuchStatistik_t* e : liste)
            if (e->summeW >= schwelle_) auswahl.push_back(e);
        std::stable_sort(auswahl.begin(), auswahl.end(),
                         [](const BuchStatistik_t* a, const BuchStatistik_t* b) { return a->wert > b->wert; });
        bool erster = true;
        for (const BuchStatistik_t* e : auswahl) {
            Stellungsdaten_t neu;
            Zugdaten_t zd;
            const Zug z = buchZug(e->zug, st.amZug);
            char text[8];
            zugSchreiben(st, z, text);
            if (!machen(st, d, *e, neu, zd)) continue;
            if (!erster) std::fprintf(f_, "\n%*s", tiefe * 10, "");
            erster = false;
            const double g = (double(e->wert) - auswahl[0]->wert + breite_) * 99.0 / breite_;
            std::fprintf(f_, "%-6s%3d ", text, g > 0 ? int(std::min(g, 1e9)) : 0);
            schreiben(st, neu, tiefe + 1);
            zugZuruecknehmen(zd);
            std::fputs(" *", f_);
        }
    }

private:
    Eintraege& e_;
    std::FILE* f_;
    double schwelle_;
    int breite_;
};

void markenLoeschen(Eintraege& e)
{
    for (auto& [k, s] : e) s.besucht = 0;
}

} // namespace

void Buchberechnung_t::bewerten(double schwelleWert)
{
    markenLoeschen(eintraege);
    Stellung_t st;
    Stellungsdaten_t d;
    stellungSetzen(st, d, nullptr);
    double c[3] = {0, 0, 0};
    Bewerter(eintraege, schwelleWert).bewerten(st, d, c, 0);
}

bool Buchberechnung_t::buchSchreiben(const std::string& datei, int schwelleTausendstel, int breiteArg)
{
    schwelle = schwelleTausendstel / 1000.0;
    breite = breiteArg < 3 ? breiteArg / 2.0 : 3.0;
    bewerten(schwelle);

    Ausgabedatei_t aus(datei);
    if (!aus.offen()) {
        std::fprintf(stderr, "info string error opening the output file %s\n", datei.c_str());
        return false;
    }
    markenLoeschen(eintraege);
    Stellung_t st;
    Stellungsdaten_t d;
    stellungSetzen(st, d, nullptr);
    Schreiber(eintraege, aus.datei(), schwelle, breiteArg).schreiben(st, d, 0);
    std::fputs(" * -1\n", aus.datei());
    if (aus.abschliessen()) return true;
    std::fprintf(stderr, "info string error writing the output file %s\n", datei.c_str());
    return false;
}
