#include "eval/spur_bewertung.h"

#include "eval/bauern_struktur.h"
#include "eval/bewerten.h"
#include "eval/endspiel.h"

std::unique_ptr<SpurTabellen_t> spurTabellen(const Gewichte_t& g)
{
    auto t = std::make_unique<SpurTabellen_t>();
    tabellenAbleiten(
        *t, [&](int i) { return SpurPaar_t{Spur_t(g.w[i], i), Spur_t(g.w[i + 1], i + 1)}; },
        [&](int i) { return Spur_t(g.w[i], i); });
    return t;
}

Spur_t spurBewertung(const SpurTabellen_t& tab, const Stellung_t& st, const Stellungsdaten_t& d)
{
    const Endspielurteil_t urteil = endspielErkennen(st);
    if (urteil.art == 2) return Spur_t(urteil.wert);
    MaterialEintrag<SpurPaar_t, Spur_t> me;
    materialEintragBerechnen(tab, st, d.materialSchluessel, me);
    PawnEintrag<SpurPaar_t> pe;
    bauernEintragBerechnen(tab, d.bauernSchluessel, st.seite[WEISS].bb[BAUER], st.seite[SCHWARZ].bb[BAUER], pe);
    Spur_t s = bewertenMit<false>(tab, st, d, me, pe, nullptr);
    if (st.amZug != WEISS) s = -s;
    if (urteil.art == 1) s += Spur_t(urteil.wert);
    s.sammeln();
    return s;
}
