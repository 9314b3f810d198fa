#pragma once
#include "chess/attacks.h"
#include "chess/stellung.h"
#include "eval/brett_hilfen.h"
#include "eval/bewertungstabellen.h"
#include "eval/material_tabelle.h"

// Safety of the kings in the middlegame: a plain value for the middlegame
// half, weighted by the material the attacking side keeps.

// Pawn shelter of a king of side S standing on ks: shelter pawns on the
// king's square's rank and the two ranks in front of it, on the king's file
// and its neighbours. A missing neighbour file (edge) counts as bare.
template <int S, class T>
inline const typename T::Zahl& kingShelter(const T& tab, int ks, Bitboard schildBauern)
{
    const Bitboard r0 = rowMask(rowOf(ks));
    const Bitboard r1 = vor<S>(r0);
    const Bitboard bereich = schildBauern & (r0 | r1 | vor<S>(r1));
    const int f = fileOf(ks);
    int i = 0;
    if (f == 0 || !(bereich & fileMask(f - 1))) i += 1;
    if (f == 7 || !(bereich & fileMask(f + 1))) i += 1;
    if (!(bereich & fileMask(f))) i += 3;
    return tab.schild[i];
}

template <int S>
inline int32_t kingShelter(int ks, Bitboard schildBauern)
{
    return kingShelter<S>(BW, ks, schildBauern);
}

// Danger to the king of S; gegnerZaehler is the enemy's king-attack counter.
template <int S, class T, class Z = typename T::Zahl>
inline Z koenigsgefahr(const T& tab, const Stellung_t& st, const Stellungsdaten_t& d, const Z& gegnerZaehler)
{
    constexpr int O = S ^ 1;
    const Seite_t& ich = st.seite[S];
    const Seite_t& er = st.seite[O];
    const Angriffe_t& seine = angriffeVon<O>(d);
    const int ks = ich.koenig;
    const Bitboard nachbarn = AT.koenig[ks];

    Z k = tab.koenigSicherheit[relativ<S>(ks)];
    if (gegnerZaehler > 10) k += 10 - gegnerZaehler;

    // Squares beside the king attacked twice, worst when an enemy queen can
    // land there and the king has hardly any flight left.
    const Bitboard doppelt = nachbarn & seine.doppelt;
    if (doppelt) {
        k -= tab.doppelt;
        if (mehrAlsEins(doppelt)) k -= tab.doppeltMehr;
        if (er.bb[DAME]) {
            for (Bitboard b = doppelt; b;) {
                const int s = popLsb(b);
                if (!(dameAngriffe(s, d.belegt) & er.bb[DAME])) continue;
                k -= tab.damenfeld;
                const Bitboard flucht = AT.springer[s] & nachbarn & ~ich.bb[0] & ~seine.angegriffen;
                if (!mehrAlsEins(flucht)) k -= tab.damenfeldOhneFlucht;
            }
        }
    }

    if (!(fileMask(fileOf(ks)) & (ich.bb[BAUER] | er.bb[BAUER]))) k -= tab.linieTurm * er.anzahl[TURM] + tab.linieDame * er.anzahl[DAME];

    k -= tab.gefesselt * popcount(seine.gefesselt & nachbarn);

    // Shelter pawns: covered by another pawn, or still on the 2nd rank with
    // a covered square one or two steps ahead.
    const Bitboard deckung = angriffeVon<S>(d).bauern;
    const Bitboard bauern = ich.bb[BAUER];
    const Bitboard schild = (bauern & deckung) |
                            (bauern & relReihenMaske<S>(6) & (zurueck<S>(deckung) | zurueck<S>(zurueck<S>(deckung))));
    const Z& hier = kingShelter<S>(tab, ks, schild);
    constexpr uint8_t KURZ = S == WEISS ? RECHT_WEISS_KURZ : RECHT_SCHWARZ_KURZ;
    constexpr uint8_t LANG = S == WEISS ? RECHT_WEISS_LANG : RECHT_SCHWARZ_LANG;
    if (st.rochade & KURZ)
        k += (kingShelter<S>(tab, relativ<S>(G1), schild) * 9 + hier * 7) / 16 + tab.rochade;
    else if (st.rochade & LANG)
        k += (kingShelter<S>(tab, relativ<S>(C1), schild) * 9 + hier * 7) / 16 + tab.rochade;
    else
        k += hier;

    // Danger grows faster than linearly (the product may need 64 bits).
    if (k < 0) {
        const Z extra = Z(breit(k + 10) * k * tab.kruemmung / 32 / 256);
        k -= extra < 1500 ? extra : Z(1500);
    }
    return k;
}

template <class T, class E, class Z = typename T::Zahl>
inline Z koenigssicherheit(const T& tab, const Stellung_t& st, const Stellungsdaten_t& d, const E& me,
                           const Z& zaehlerWeiss, const Z& zaehlerSchwarz)
{
    const Seite_t& w = st.seite[WEISS];
    const Seite_t& s = st.seite[SCHWARZ];
    const Z k = koenigsgefahr<WEISS>(tab, st, d, zaehlerSchwarz);
    const Z kb = koenigsgefahr<SCHWARZ>(tab, st, d, zaehlerWeiss);
    // The attack on a king weighs with the material the attacker keeps.
    const auto v = breit((me.summe[SCHWARZ] - 5000) / 256) * k - breit((me.summe[WEISS] - 5000) / 256) * kb;
    Z r = Z(v * 20 / 1024);

    // A centre pawn on its start square with the square in front taken.
    const Bitboard wb = w.bb[BAUER], sb = s.bb[BAUER];
    if (((wb & bit(D2)) && (d.belegt & ~wb & bit(D3))) || ((wb & bit(E2)) && (d.belegt & ~wb & bit(E3)))) r -= tab.zentrumsbauer;
    if (((sb & bit(D7)) && (d.belegt & ~sb & bit(D6))) || ((sb & bit(E7)) && (d.belegt & ~sb & bit(E6)))) r += tab.zentrumsbauer;

    // Undeveloped minor pieces, worse with the queen already out.
    const int n = popcount((w.bb[SPRINGER] | w.bb[LAEUFER]) & rowMask(7));
    r -= tab.unentwickelt * n;
    if (w.bb[DAME] & ~(rowMask(6) | rowMask(7))) r -= tab.unentwickeltDame * n;
    const int ns = popcount((s.bb[SPRINGER] | s.bb[LAEUFER]) & rowMask(0));
    r += tab.unentwickelt * ns;
    if (s.bb[DAME] & ~(rowMask(0) | rowMask(1))) r += tab.unentwickeltDame * ns;
    return r;
}

// With the engine's current weights.
inline int32_t koenigssicherheit(const Stellung_t& st, const Stellungsdaten_t& d, const MaterialEntry& me,
                                 int32_t zaehlerWeiss, int32_t zaehlerSchwarz)
{
    return koenigssicherheit(BW, st, d, me, zaehlerWeiss, zaehlerSchwarz);
}
