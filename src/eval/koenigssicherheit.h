#pragma once
#include "chess/attacks.h"
#include "chess/stellung.h"
#include "eval/brett_hilfen.h"
#include "eval/eval_tabellen.h"
#include "eval/material_tabelle.h"

// Safety of the kings in the middlegame: a plain value for the middlegame
// half, weighted by the material the attacking side keeps.

// Pawn shelter of a king of side S standing on ks: shelter pawns on the
// king's square's rank and the two ranks in front of it, on the king's file
// and its neighbours. A missing neighbour file (edge) counts as bare.
template <int S>
inline int32_t kingShelter(int ks, Bitboard schildBauern)
{
    const Bitboard r0 = rowMask(rowOf(ks));
    const Bitboard r1 = vor<S>(r0);
    const Bitboard bereich = schildBauern & (r0 | r1 | vor<S>(r1));
    const int f = fileOf(ks);
    int i = 0;
    if (f == 0 || !(bereich & fileMask(f - 1))) i += 1;
    if (f == 7 || !(bereich & fileMask(f + 1))) i += 1;
    if (!(bereich & fileMask(f))) i += 3;
    return SCHILD[i];
}

// Danger to the king of S; gegnerZaehler is the enemy's king-attack counter.
template <int S>
inline int32_t koenigsgefahr(const Stellung_t& st, const Stellungsdaten_t& d, int32_t gegnerZaehler)
{
    constexpr int O = S ^ 1;
    const Seite_t& ich = st.seite[S];
    const Seite_t& er = st.seite[O];
    const Angriffe_t& seine = angriffeVon<O>(d);
    const int ks = ich.koenig;
    const Bitboard nachbarn = AT.koenig[ks];

    int32_t k = KOENIG_SICHERHEIT_PST[relativ<S>(ks)];
    if (gegnerZaehler > 10) k += 10 - gegnerZaehler;

    // Squares beside the king attacked twice, worst when an enemy queen can
    // land there and the king has hardly any flight left.
    const Bitboard doppelt = nachbarn & seine.doppelt;
    if (doppelt) {
        k -= 37;
        if (mehrAlsEins(doppelt)) k -= 42;
        if (er.bb[DAME]) {
            for (Bitboard b = doppelt; b;) {
                const int s = popLsb(b);
                if (!(dameAngriffe(s, d.belegt) & er.bb[DAME])) continue;
                k -= 61;
                const Bitboard flucht = AT.springer[s] & nachbarn & ~ich.bb[0] & ~seine.angegriffen;
                if (!mehrAlsEins(flucht)) k -= 38;
            }
        }
    }

    if (!(fileMask(fileOf(ks)) & (ich.bb[BAUER] | er.bb[BAUER]))) k -= 15 * er.anzahl[TURM] + 18 * er.anzahl[DAME];

    k -= 8 * popcount(seine.gefesselt & nachbarn);

    // Shelter pawns: covered by another pawn, or still on the 2nd rank with
    // a covered square one or two steps ahead.
    const Bitboard deckung = angriffeVon<S>(d).bauern;
    const Bitboard bauern = ich.bb[BAUER];
    const Bitboard schild = (bauern & deckung) |
                            (bauern & relReihenMaske<S>(6) & (zurueck<S>(deckung) | zurueck<S>(zurueck<S>(deckung))));
    const int32_t hier = kingShelter<S>(ks, schild);
    constexpr uint8_t KURZ = S == WEISS ? RECHT_WEISS_KURZ : RECHT_SCHWARZ_KURZ;
    constexpr uint8_t LANG = S == WEISS ? RECHT_WEISS_LANG : RECHT_SCHWARZ_LANG;
    if (st.rochade & KURZ)
        k += (9 * kingShelter<S>(relativ<S>(G1), schild) + 7 * hier) / 16 + 35;
    else if (st.rochade & LANG)
        k += (9 * kingShelter<S>(relativ<S>(C1), schild) + 7 * hier) / 16 + 35;
    else
        k += hier;

    // Danger grows faster than linearly.
    if (k < 0) {
        int32_t extra = ((k + 10) * k * 26) / 32 / 256;
        k -= extra < 1500 ? extra : 1500;
    }
    return k;
}

inline int32_t koenigssicherheit(const Stellung_t& st, const Stellungsdaten_t& d, const MaterialEntry& me,
                                 int32_t zaehlerWeiss, int32_t zaehlerSchwarz)
{
    const Seite_t& w = st.seite[WEISS];
    const Seite_t& s = st.seite[SCHWARZ];
    const int32_t k = koenigsgefahr<WEISS>(st, d, zaehlerSchwarz);
    const int32_t kb = koenigsgefahr<SCHWARZ>(st, d, zaehlerWeiss);
    // The attack on a king weighs with the material the attacker keeps.
    const int32_t v = ((me.summe[SCHWARZ] - 5000) / 256) * k - ((me.summe[WEISS] - 5000) / 256) * kb;
    int32_t r = (v * 20) / 1024;

    // A centre pawn on its start square with the square in front taken.
    const Bitboard wb = w.bb[BAUER], sb = s.bb[BAUER];
    if (((wb & bit(D2)) && (d.belegt & ~wb & bit(D3))) || ((wb & bit(E2)) && (d.belegt & ~wb & bit(E3)))) r -= 40;
    if (((sb & bit(D7)) && (d.belegt & ~sb & bit(D6))) || ((sb & bit(E7)) && (d.belegt & ~sb & bit(E6)))) r += 40;

    // Undeveloped minor pieces, worse with the queen already out.
    const int n = popcount((w.bb[SPRINGER] | w.bb[LAEUFER]) & rowMask(7));
    r -= 50 * n;
    if (w.bb[DAME] & ~(rowMask(6) | rowMask(7))) r -= 42 * n;
    const int ns = popcount((s.bb[SPRINGER] | s.bb[LAEUFER]) & rowMask(0));
    r += 50 * ns;
    if (s.bb[DAME] & ~(rowMask(0) | rowMask(1))) r += 42 * ns;
    return r;
}
