#pragma once
#include "chess/attacks.h"
#include "chess/stellung.h"
#include "eval/bauern_tabelle.h"
#include "eval/brett_hilfen.h"
#include "eval/bewertungstabellen.h"

// The king in the endgame: close to the centre, free to move, near its own
// pawns and the passed pawns' paths, and in pawn endings the race of the
// passed pawns against the enemy king. A plain value for the endgame half.

// Freedom and activity of the king of S. stoppFelder: the stop squares of
// every passed pawn of both colours.
template <int S, class T, class Z = typename T::Zahl>
inline Z koenigAktivitaet(const T& tab, const Stellung_t& st, const Stellungsdaten_t& d, Bitboard stoppFelder)
{
    constexpr int O = S ^ 1;
    const Seite_t& ich = st.seite[S];
    const Bitboard gegnerAngriff = angriffeVon<O>(d).angegriffen;
    const Bitboard eigene = ich.bb[0];
    const Bitboard k = bit(ich.koenig);
    Z t{};

    // The squares the king can step to now, in two and in three moves.
    const Bitboard z1 = (AT.koenig[ich.koenig] & ~gegnerAngriff) | k;
    if (!(z1 & INNEN) && (k & RAND)) t -= tab.koenigRand;
    const Bitboard z2 = koenigsSchritt((z1 & ~eigene) | k) & ~gegnerAngriff;
    const Bitboard z3 = koenigsSchritt((z2 & ~eigene) | k) & ~gegnerAngriff;

    const int frei = popcount(z3 & ~eigene);
    t += (frei < 23 ? tab.koenigReichweite[frei] : Z{}) + tab.bauerZwei * popcount(ich.bb[BAUER] & z2) -
         tab.bauerEins * popcount(ich.bb[BAUER] & z1);
    if (frei == 0 && st.amZug == S && nurBauern(ich)) t -= tab.eingesperrt;

    if (stoppFelder) {
        const int c3 = popcount(stoppFelder & z3);
        if (c3 > 0)
            t += tab.stoppDrei * c3 + tab.stoppZwei * popcount(stoppFelder & z2) +
                 tab.stoppEins * popcount(stoppFelder & z1);
        else
            t -= tab.stoppFern;
    }
    return t;
}

// Pawn race of the passed pawns of S against the enemy king.
template <int S, class T, class E, class Z = typename T::Zahl>
inline Z bauernWettlauf(const T& tab, const Stellung_t& st, const E& pe)
{
    constexpr int O = S ^ 1;
    const Bitboard frei = pe.freibauern & st.seite[S].bb[BAUER];
    if (!frei) return Z{};
    const Bitboard gegnerKoenig = bit(st.seite[O].koenig);
    const Bitboard fang = pe.fang[S];
    Z t{};

    if (!(fang & gegnerKoenig)) t += st.amZug == S ? tab.wettlaufAusserAmZug : tab.wettlaufAusser;

    bool aufLinie = false;
    int hinterste = 0; // largest row of a passed pawn in S's view
    for (Bitboard b = frei; b;) {
        const int sq = popLsb(b);
        const int ziel = S == WEISS ? fileOf(sq) : 56 + fileOf(sq);
        if (!(fang & bit(ziel)) && ((AT.turmLeer[ziel] | AT.laeuferLeer[ziel] | bit(ziel)) & gegnerKoenig))
            aufLinie = true;
        if (relReihe<S>(sq) > hinterste) hinterste = relReihe<S>(sq);
    }
    if (aufLinie) t += tab.wettlaufLinie;
    t += tab.wettlaufReihe * ((8 - hinterste) - 2);
    return t;
}

template <class T, class E, class Z = typename T::Zahl>
inline Z koenigEndspiel(const T& tab, const Stellung_t& st, const Stellungsdaten_t& d, const E& pe)
{
    const Seite_t& w = st.seite[WEISS];
    const Seite_t& s = st.seite[SCHWARZ];
    // Each king reads the table from its own side (the built-in table is
    // the same from both).
    Z t = tab.koenigZentrum[relativ<SCHWARZ>(s.koenig)] - tab.koenigZentrum[w.koenig];

    const Bitboard stopp = vor<WEISS>(pe.freibauern & w.bb[BAUER]) | vor<SCHWARZ>(pe.freibauern & s.bb[BAUER]);
    t += koenigAktivitaet<WEISS>(tab, st, d, stopp) - koenigAktivitaet<SCHWARZ>(tab, st, d, stopp);

    if (pe.freibauern && nurBauern(w) && nurBauern(s)) {
        t += tab.wettlaufFreibauer * (popcount(pe.freibauern & w.bb[BAUER]) - popcount(pe.freibauern & s.bb[BAUER]));
        t += bauernWettlauf<WEISS>(tab, st, pe) - bauernWettlauf<SCHWARZ>(tab, st, pe);
    }
    return t;
}
