#include "bookcalc/buch_auswertung.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <unordered_map>
#include <vector>

#include "book/buch.h"
#include "chess/fen.h"
#include "chess/spiel.h"
#include "chess/zugdaten.h"
#include "chess/zugmachen.h"

namespace {

// The positions a book reaches from the start position, found depth first
// in entry order with an explicit stack (book lines may be long).
class BuchGraph {
public:
    struct Kante {
        int kind;
        double anteil; // weight / total weight of the position
    };
    struct Knoten {
        uint64_t schluessel;
        bool blatt;                  // no entries, or total weight 0
        bool hatInnerenBaumKind = false;
        std::vector<Kante> kinder;   // lines that return onto themselves left out
        std::string fen;             // seen from White's side
    };

    explicit BuchGraph(const Buch_t& buch) : buch_(buch) { aufbauen(); }

    // Reach probability of every node, in node order.
    std::vector<double> wahrscheinlichkeiten() const
    {
        std::vector<double> p(knoten.size(), 0.0);
        if (knoten.empty()) return p;
        p[0] = 1.0;
        // Reverse post-order is a topological order once the edges back
        // onto the current line are gone.
        for (auto it = nachOrdnung.rbegin(); it != nachOrdnung.rend(); ++it)
            for (const Kante& k : knoten[size_t(*it)].kinder) p[size_t(k.kind)] += p[size_t(*it)] * k.anteil;
        return p;
    }

    std::vector<Knoten> knoten;
    std::vector<int> nachOrdnung;

private:
    enum Zustand : uint8_t { AUF_DEM_WEG, FERTIG };

    int neuerKnoten(const Stellung_t& st, uint64_t k)
    {
        Knoten n;
        n.schluessel = k;
        const BuchEintrag_t* e = buch_.erster(k);
        const BuchEintrag_t* ende = buch_.hinterLetztem(k);
        uint64_t summe = 0;
        for (; e != ende; ++e) summe += e->gewicht;
        n.blatt = summe == 0;
        char fen[128];
        if (st.amZug == WEISS) {
            fenSchreiben(st, fen);
        } else {
            Stellung_t spiegel;
            spiegeln(st, spiegel);
            fenSchreiben(spiegel, fen);
        }
        n.fen = fen;
        knoten.push_back(std::move(n));
        zustand_.push_back(AUF_DEM_WEG);
        index_[k] = int(knoten.size() - 1);
        return int(knoten.size() - 1);
    }

    void aufbauen()
    {
        struct Rahmen {
            Stellungsdaten_t daten;
            Zugdaten_t zd;
            int knoten;
            const BuchEintrag_t* naechster;
            const BuchEintrag_t* ende;
            uint64_t summe;
        };
        Stellung_t st;
        std::vector<Rahmen> stapel(1);
        stellungSetzen(st, stapel[0].daten, nullptr);
        auto betreten = [&](Rahmen& r, uint64_t k) {
            r.knoten = neuerKnoten(st, k);
            r.naechster = buch_.erster(k);
            r.ende = buch_.hinterLetztem(k);
            r.summe = 0;
            for (const BuchEintrag_t* e = r.naechster; e != r.ende; ++e) r.summe += e->gewicht;
        };
        betreten(stapel[0], buchSchluessel(st));
        while (!stapel.empty()) {
            Rahmen& r = stapel.back();
            if (r.summe == 0 || r.naechster == r.ende) {
                zustand_[size_t(r.knoten)] = FERTIG;
                nachOrdnung.push_back(r.knoten);
                if (stapel.size() > 1) zugZuruecknehmen(r.zd);
                stapel.pop_back();
                continue;
            }
            const BuchEintrag_t& e = *r.naechster++;
            const Zug z = buchZug(e.zug, st.amZug);
            if (e.gewicht == 0 || !istZug(z) || !zugLegal(st, r.daten, z)) continue;
            const double anteil = double(e.gewicht) / double(r.summe);
            Rahmen neu{};
            zugMachenSuche(st, z, neu.daten, r.daten, neu.zd);
            const uint64_t k = buchSchluessel(st);
            auto it = index_.find(k);
            if (it == index_.end()) {
                knoten[size_t(r.knoten)].kinder.push_back({int(knoten.size()), anteil});
                const bool kindBlatt = [&] {
                    const BuchEintrag_t* a = buch_.erster(k);
                    const BuchEintrag_t* b = buch_.hinterLetztem(k);
                    for (; a != b; ++a)
                        if (a->gewicht) return false;
                    return true;
                }();
                if (!kindBlatt) knoten[size_t(r.knoten)].hatInnerenBaumKind = true;
                if (stapel.size() >= size_t(BUCH_MAX_TIEFE)) {
                    // Deeper than any book can be loaded: counted, not followed.
                    neuerKnoten(st, k);
                    zustand_.back() = FERTIG;
                    nachOrdnung.push_back(int(knoten.size() - 1));
                    zugZuruecknehmen(neu.zd);
                    continue;
                }
                stapel.push_back(neu);
                betreten(stapel.back(), k);
                continue;
            }
            if (zustand_[size_t(it->second)] == FERTIG) knoten[size_t(r.knoten)].kinder.push_back({it->second, anteil});
            zugZuruecknehmen(neu.zd);
        }
    }

    const Buch_t& buch_;
    std::vector<Zustand> zustand_;
    std::unordered_map<uint64_t, int> index_;
};

} // namespace

double buchEntropie(const Buch_t& buch)
{
    if (buch.eintraege().empty()) return 0.0;
    BuchGraph g(buch);
    double h = 0;
    for (double p : g.wahrscheinlichkeiten())
        if (p > 0) h -= p * std::log(p);
    // Sums of shares may pass 1 by a rounding error: no "-0.00" bits.
    return std::max(0.0, h / std::log(2.0));
}

int buchEndstellungen(const Buch_t& buch, std::FILE* aus)
{
    if (buch.eintraege().empty()) return 0;
    BuchGraph g(buch);
    const std::vector<double> p = g.wahrscheinlichkeiten();
    int n = 0;
    for (int i : g.nachOrdnung) {
        const BuchGraph::Knoten& k = g.knoten[size_t(i)];
        if (k.blatt || k.hatInnerenBaumKind || !(p[size_t(i)] > 0)) continue;
        std::fprintf(aus, "%g %s\n", p[size_t(i)], k.fen.c_str());
        ++n;
    }
    return n;
}
