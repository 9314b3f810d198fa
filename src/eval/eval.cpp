#include "eval/eval.h"

#include "eval/figuren_bauern.h"
#include "eval/koenig_endspiel.h"
#include "eval/koenigssicherheit.h"
#include "eval/mobilitaet.h"
#include "eval/remis_skalierung.h"

namespace {

constexpr PackedScore TEMPO = S(68, 35);

// The evaluation from White's point of view; fills the parts when asked.
template <bool TEILE>
inline int32_t bewerten(const Stellung_t& st, const Stellungsdaten_t& d, MaterialTable& mt, PawnTable& pt,
                        Bewertungsteile_t* teile)
{
    const MaterialEntry& me = materialEintrag(mt, st, d.materialSchluessel);
    const PawnEntry& pe = bauernEintrag(pt, d.bauernSchluessel, st.seite[WEISS].bb[BAUER], st.seite[SCHWARZ].bb[BAUER]);

    const Mobilitaet_t mobS = mobilitaet<SCHWARZ>(st, d);
    const Mobilitaet_t mobW = mobilitaet<WEISS>(st, d);

    PackedScore summe = pe.wert + me.ungleichgewicht - mobS.wert + mobW.wert;
    const PackedScore fb = figurenUndBauern(st, d, pe);
    summe += fb;

    int32_t ke = 0, ks = 0;
    if (me.phase < 256) {
        ke = koenigEndspiel(st, d, pe);
        summe += nurEg(ke);
    }
    if (me.phase > 0) {
        ks = koenigssicherheit(st, d, me, mobW.koenigsangriff, mobS.koenigsangriff);
        summe += nurMg(ks);
    }
    summe += st.amZug == WEISS ? TEMPO : -TEMPO;

    // Material counts in the middlegame half and once more unphased. It
    // joins the middlegame half as a plain number: inside the packed sum a
    // big lead (two queens up with the whole army still on the board) would
    // wrap round the 16 bits and read as a big deficit, so that winning
    // more material looked like losing it.
    const int32_t mg = summe.mg() + me.bilanz;
    int32_t score = (summe.eg() * (256 - me.phase) + mg * me.phase) / 256;
    score += me.bilanz;
    const int32_t gemischt = score;
    score = scaleDrawish(st, score, pe);

    if constexpr (TEILE) {
        teile->phase = me.phase;
        teile->bilanz = me.bilanz;
        teile->bauern = pe.wert;
        teile->ungleichgewicht = me.ungleichgewicht;
        teile->mobilitaet[WEISS] = mobW.wert;
        teile->mobilitaet[SCHWARZ] = mobS.wert;
        teile->angriffszaehler[WEISS] = mobW.koenigsangriff;
        teile->angriffszaehler[SCHWARZ] = mobS.koenigsangriff;
        teile->figurenBauern = fb;
        teile->koenigEndspiel = ke;
        teile->koenigssicherheit = ks;
        teile->summe = summe;
        teile->gemischt = gemischt;
        teile->ergebnis = score;
    }
    return score;
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
