#include "bench/blattsuche.h"

#include <algorithm>

#include "chess/spiel.h"
#include "chess/zuggen.h"
#include "chess/zugmachen.h"
#include "eval/statisch.h"
#include "search/suche.h"

namespace {

constexpr int EINFACH[7] = {0, 1, 3, 3, 5, 10, 99};

int figurAuf(const Stellung_t& st, int seite, int feld)
{
    for (int t = BAUER; t <= KOENIG; ++t)
        if (st.seite[seite].bb[t] & bit(feld)) return t;
    return 0;
}

int ziehende(Zug z)
{
    const int art = zugArt(z);
    return art <= KOENIG ? art : art == ART_ROCHADE ? KOENIG : BAUER;
}

} // namespace

Blattsuche_t::Blattsuche_t() : mt_(std::make_unique<MaterialTable>()), pt_(std::make_unique<PawnTable>()) {}

void Blattsuche_t::leeren()
{
    mt_->leeren();
    pt_->leeren();
}

int Blattsuche_t::suchen(const Stellung_t& st, Stellung_t& blatt, int& zuege)
{
    st_ = st;
    datenBerechnen(st_, d_[0]);
    const int wert = ruhe(-MATT_WERT - 1, MATT_WERT + 1, 0);
    blatt = st;
    Stellungsdaten_t d[2];
    d[0] = d_[0];
    zuege = 0;
    for (int i = 0; i < pvLaenge_[0]; ++i) {
        Zugdaten_t zd;
        zugMachenSuche(blatt, pv_[0][i], d[(i + 1) & 1], d[i & 1], zd);
        ++zuege;
    }
    return wert;
}

int Blattsuche_t::ruhe(int alpha, int beta, int ply)
{
    const Stellungsdaten_t& d = d_[ply];
    pvLaenge_[ply] = 0;
    const bool schach = imSchach(st_, d);
    int best = -MATT_WERT + ply;
    if (!schach) {
        best = statischeBewertung(st_, d, *mt_, *pt_);
        if (best >= beta || ply == TIEFE) return best;
        alpha = std::max(alpha, best);
    } else if (ply == TIEFE) {
        return statischeBewertung(st_, d, *mt_, *pt_);
    }

    Zug liste[MAX_ZUEGE];
    Zug* ende = schach ? ausweichZuege(st_, d, liste) : ruheZuege(st_, d, st_.seite[st_.amZug ^ 1].bb[0], 0, liste);
    // Captures by the value of the victim, then the cheaper attacker first.
    struct Kandidat_t {
        int schluessel;
        Zug zug;
    };
    Kandidat_t k[MAX_ZUEGE];
    int n = 0;
    const int s = st_.amZug, g = s ^ 1;
    for (Zug* p = liste; p < ende; ++p) {
        const Zug z = Zug(*p & 0xFFFF);
        const int opfer = zugArt(z) == ART_EP ? BAUER : figurAuf(st_, g, zugNach(z));
        if (!schach && !opfer && !istPromotion(z)) continue;
        const int taeter = ziehende(z);
        if (!schach && opfer && taeter != KOENIG && EINFACH[taeter] > EINFACH[opfer] &&
            (d.angriffe[s].angegriffen & bit(zugNach(z))) && !(d.angriffe[g].doppelt & bit(zugNach(z))))
            continue;
        k[n++] = {EINFACH[opfer] * 16 - EINFACH[taeter] + (istPromotion(z) ? 100 : 0), z};
    }
    std::stable_sort(k, k + n, [](const Kandidat_t& a, const Kandidat_t& b) { return a.schluessel > b.schluessel; });

    for (int i = 0; i < n; ++i) {
        Zugdaten_t zd;
        if (!zugMachenSuche(st_, k[i].zug, d_[ply + 1], d, zd)) continue;
        const int w = -ruhe(-beta, -alpha, ply + 1);
        zugZuruecknehmen(zd);
        if (w > best) {
            best = w;
            pv_[ply][0] = k[i].zug;
            std::copy(pv_[ply + 1], pv_[ply + 1] + pvLaenge_[ply + 1], pv_[ply] + 1);
            pvLaenge_[ply] = pvLaenge_[ply + 1] + 1;
            if (w > alpha) {
                alpha = w;
                if (alpha >= beta) break;
            }
        }
    }
    return best;
}
