// Endings without pawns where the only plan is to drive the defending king
// to the edge or into the right corner.
#include "eval/endspiel_bewerter.h"
#include "eval/endspiel_felder.h"
#include "eval/material_tabelle.h"
#include "eval/material_werte.h"

namespace endspiel {

Endspielurteil_t mopUp(const Stellung_t& st)
{
    const int32_t weiss = materialSumme(st.seite[WEISS]);
    const int32_t schwarz = materialSumme(st.seite[SCHWARZ]);
    const int32_t d = weiss - schwarz;
    const int wk = st.seite[WEISS].koenig, sk = st.seite[SCHWARZ].koenig;

    // Below a clear piece up the material counts for little: most such
    // endings cannot be won.
    int32_t s = 0;
    if (d >= 3436)
        s = d + 200;
    else if (d >= 1)
        s = d - 1000 > 0 ? (d - 1000) / 2 : 0;
    else if (d <= -3436)
        s = d - 200;
    else if (d <= -1)
        s = d + 1000 < 0 ? (d + 1000) / 2 : 0;

    s += KOENIG_ZENTRUM[sk] - KOENIG_ZENTRUM[wk];
    // The stronger side wants its king close to the defender's.
    const int naehe = 2 * (5 - distanz(wk, sk));
    if (weiss > schwarz)
        s += naehe;
    else if (schwarz > weiss)
        s -= naehe;
    return Sicht_t(st, WEISS).urteil(2, s);
}

Endspielurteil_t laeuferSpringerGegenKoenig(const Stellung_t& st, int stark)
{
    const Sicht_t v(st, stark);
    const int k = v.schwachKoenig(), sk = v.starkKoenig();
    int32_t s = KOENIG_ZENTRUM[k] - KOENIG_ZENTRUM[sk] + 3 * (5 - distanz(k, sk)) + 6104;
    // Mate is only possible in a corner of the bishop's colour.
    const Bitboard mattEcken = istHell(v.starkFeld(LAEUFER)) ? bit(A8) | bit(H1) : bit(H8) | bit(A1);
    s -= 60 * flutSchritte(mattEcken, k, false);
    return v.urteil(2, s);
}

} // namespace endspiel
