#include "eval/eval.h"

#include "eval/bewerten.h"

namespace {

template <bool TEILE>
inline int32_t bewerten(const Stellung_t& st, const Stellungsdaten_t& d, MaterialTable& mt, PawnTable& pt,
                        Bewertungsteile_t* teile)
{
    const MaterialEntry& me = materialEintrag(mt, st, d.materialSchluessel);
    const PawnEntry& pe = bauernEintrag(pt, d.bauernSchluessel, st.seite[WEISS].bb[BAUER], st.seite[SCHWARZ].bb[BAUER]);
    return bewertenMit<TEILE>(BW, st, d, me, pe, teile);
}

} // namespace

int32_t evaluate(const Stellung_t& st, const Stellungsdaten_t& d, MaterialTable& mt, PawnTable& pt)
{
    const int32_t score = bewerten<false>(st, d, mt, pt, nullptr);
    return st.amZug == WEISS ? score : -score;
}

void bewertungsteile(const Stellung_t& st, const Stellungsdaten_t& d, MaterialTable& mt, PawnTable& pt,
                     Bewertungsteile_t& teile)
{
    bewerten<true>(st, d, mt, pt, &teile);
}
