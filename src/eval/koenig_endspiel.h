#pragma once
#include "chess/attacks.h"
#include "chess/stellung.h"
#include "eval/bauern_tabelle.h"
#include "eval/brett_hilfen.h"
#include "eval/eval_tabellen.h"
#include "eval/material_werte.h"

// The king in the endgame: close to the centre, free to move, near its own
// pawns and the passed pawns' paths, and in pawn endings the race of the
// passed pawns against the enemy king. A plain value for the endgame half.

// Freedom and activity of the king of S. stoppFelder: the stop squares of
// every passed pawn of both colours.
template <int S>
inline int32_t koenigAktivitaet(const Stellung_t& st, const Stellungsdaten_t& d, Bitboard stoppFelder)
{
    constexpr int O = S ^ 1;
    const Seite_t& ich = st.seite[S];
    const Bitboard gegnerAngriff = angriffeVon<O>(d).angegriffen;
    const Bitboard eigene = ich.bb[0];
    const Bitboard k = bit(ich.koenig);
    int32_t t = 0;

    // The squares the king can step to now, in two and in three moves.
    const Bitboard z1 = (AT.koenig[ich.koenig] & ~gegnerAngriff) | k;
    if (!(z1 & INNEN) && (k & RAND)) t -= 153;
    const Bitboard z2 = koenigsSchritt((z1 & ~eigene) | k) & ~gegnerAngriff;
    const Bitboard z3 = koenigsSchritt((z2 & ~eigene) | k) & ~gegnerAngriff;

    const int frei = popcount(z3 & ~eigene);
    t += (frei < 23 ? KOENIG_REICHWEITE[frei] : 0) + 48 * popcount(ich.bb[BAUER] & z2) -
         22 * popcount(ich.bb[BAUER] & z1);
    if (frei == 0 && st.amZug == S && nurBauern(ich)) t -= 300;

    if (stoppFelder) {
        const int c3 = popcount(stoppFelder & z3);
        if (c3 > 0)
            t += 46 * c3 + 79 * popcount(stoppFelder & z2) + 129 * popcount(stoppFelder & z1);
        else
            t -= 76;
    }
    return t;
}

// Pawn race of the passed pawns of S against the enemy king.
template <int S>
inline int32_t bauernWettlauf(const Stellung_t& st, const PawnEntry& pe)
{
    constexpr int O = S ^ 1;
    const Bitboard frei = pe.freibauern & st.seite[S].bb[BAUER];
    if (!frei) return 0;
    const Bitboard gegnerKoenig = bit(st.seite[O].koenig);
    const Bitboard fang = pe.fang[S];
    int32_t t = 0;

    if (!(fang & gegnerKoenig)) t += st.amZug == S ? 284 : 169;

    bool aufLinie = false;
    int hinterste = 0; // largest row of a passed pawn in S's view
    for (Bitboard b = frei; b;) {
        const int sq = popLsb(b);
        const int ziel = S == WEISS ? fileOf(sq) : 56 + fileOf(sq);
        if (!(fang & bit(ziel)) && ((AT.turmLeer[ziel] | AT.laeuferLeer[ziel] | bit(ziel)) & gegnerKoenig))
            aufLinie = true;
        if (relReihe<S>(sq) > hinterste) hinterste = relReihe<S>(sq);
    }
    if (aufLinie) t += 247;
    t += 101 * ((8 - hinterste) - 2);
    return t;
}

inline int32_t koenigEndspiel(const Stellung_t& st, const Stellungsdaten_t& d, const PawnEntry& pe)
{
    const Seite_t& w = st.seite[WEISS];
    const Seite_t& s = st.seite[SCHWARZ];
    int32_t t = KOENIG_ZENTRUM[s.koenig] - KOENIG_ZENTRUM[w.koenig];

    const Bitboard stopp = vor<WEISS>(pe.freibauern & w.bb[BAUER]) | vor<SCHWARZ>(pe.freibauern & s.bb[BAUER]);
    t += koenigAktivitaet<WEISS>(st, d, stopp) - koenigAktivitaet<SCHWARZ>(st, d, stopp);

    if (pe.freibauern && nurBauern(w) && nurBauern(s)) {
        t += 253 * (popcount(pe.freibauern & w.bb[BAUER]) - popcount(pe.freibauern & s.bb[BAUER]));
        t += bauernWettlauf<WEISS>(st, pe) - bauernWettlauf<SCHWARZ>(st, pe);
    }
    return t;
}
