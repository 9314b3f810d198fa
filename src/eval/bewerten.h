#pragma once
// The evaluation for any weight tables, with the material and pawn entries
// already at hand: the engine calls it with its own tables and cached
// entries (eval/eval.cpp), the tuner with traced ones.
#include "eval/eval.h"
#include "eval/figuren_bauern.h"
#include "eval/koenig_endspiel.h"
#include "eval/koenigssicherheit.h"
#include "eval/mobilitaet.h"
#include "eval/remis_skalierung.h"

// No static score goes beyond this (mate scores begin at 450,000).
constexpr int32_t BEWERTUNG_GRENZE = 200000;

// The evaluation from White's point of view; fills the parts when asked
// (engine tables only).
template <bool TEILE, class T, class ME, class PE>
inline typename T::Zahl bewertenMit(const T& tab, const Stellung_t& st, const Stellungsdaten_t& d, const ME& me,
                                    const PE& pe, Bewertungsteile_t* teile)
{
    using Z = typename T::Zahl;
    const auto mobS = mobilitaet<SCHWARZ>(tab, st, d);
    const auto mobW = mobilitaet<WEISS>(tab, st, d);

    typename T::Paar summe = pe.wert + me.ungleichgewicht - mobS.wert + mobW.wert;
    const typename T::Paar fb = figurenUndBauern(tab, st, d, pe);
    summe += fb;

    Z ke{}, ks{};
    if (me.phase < 256) {
        ke = koenigEndspiel(tab, st, d, pe);
        summe += nurEg(ke);
    }
    if (me.phase > 0) {
        ks = koenigssicherheit(tab, st, d, me, mobW.koenigsangriff, mobS.koenigsangriff);
        summe += nurMg(ks);
    }
    summe += st.amZug == WEISS ? tab.tempo : -tab.tempo;

    // Material counts in the middlegame half (built in; the weights may
    // also give it to the endgame half) and once more unphased. It joins
    // the halves as a plain number: inside the packed sum a big lead (two
    // queens up with the whole army still on the board) would wrap round
    // the 16 bits and read as a big deficit, so that winning more material
    // looked like losing it. Products in 64 bits: a weights file may make
    // them large.
    const Z mg = summe.mg() + Z(breit(me.bilanz) * tab.materialMg / 256);
    const Z eg = summe.eg() + Z(breit(me.bilanz) * tab.materialEg / 256);
    Z score = Z((breit(eg) * (256 - me.phase) + breit(mg) * me.phase) / 256);
    score += me.bilanz;
    // However wild the weights, a static score stays far from mate scores.
    if (score > BEWERTUNG_GRENZE) score = Z(BEWERTUNG_GRENZE);
    if (score < -BEWERTUNG_GRENZE) score = Z(-BEWERTUNG_GRENZE);
    const Z gemischt = score;
    score = scaleDrawish(tab, st, score, pe);

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
