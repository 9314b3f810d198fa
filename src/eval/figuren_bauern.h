#pragma once
#include "chess/attacks.h"
#include "chess/stellung.h"
#include "eval/bauern_tabelle.h"
#include "eval/brett_hilfen.h"
#include "eval/bewertungstabellen.h"

// Terms of pieces against the pawn structure and against each other,
// computed for every evaluation from the pawn entry and the attack records.

namespace figbau {

// Bishop corner patterns of White: the bishop's square and the Black pawns
// that must stand there, attacked by Black. Black's twins are mirrored.
struct Eckmuster_t {
    int laeufer;
    Bitboard bauern;
};
constexpr Eckmuster_t ECKMUSTER[4] = {
    {A7, bit(B6)},
    {H7, bit(G6)},
    {B8, bit(C7) | bit(B6)},
    {G8, bit(F7) | bit(G6)},
};

template <int S>
constexpr Bitboard gespiegelt(Bitboard b) { return S == WEISS ? b : __builtin_bswap64(b); }

} // namespace figbau

template <int S, class T, class E>
inline typename T::Paar figurenUndBauernSeite(const T& tab, const Stellung_t& st, const Stellungsdaten_t& d,
                                              const E& pe)
{
    using namespace figbau;
    constexpr int O = S ^ 1;
    const Seite_t& ich = st.seite[S];
    const Seite_t& er = st.seite[O];
    const Angriffe_t& meine = angriffeVon<S>(d);
    const Angriffe_t& seine = angriffeVon<O>(d);
    typename T::Paar w{};

    // Knights and bishops on outposts.
    for (Bitboard b = ich.bb[SPRINGER] & pe.vorposten[S]; b;) w += tab.springerVorposten[relativ<S>(popLsb(b))];
    for (Bitboard b = ich.bb[LAEUFER] & pe.vorposten[S]; b;) w += tab.laeuferVorposten[relativ<S>(popLsb(b))];

    // Rooks on the 7th rank, and rooks against backward pawns on half-open files.
    if (ich.bb[TURM] & relReihenMaske<S>(1)) {
        w += tab.turmAuf7;
        if (er.bb[BAUER] & relReihenMaske<S>(1)) w += tab.turmAuf7Bauern;
        if (bit(er.koenig) & relReihenMaske<S>(0)) w += tab.turmAuf7Koenig;
    }
    if (ich.anzahl[TURM] && (pe.rueckstaendigHalboffen & er.bb[BAUER]))
        w += tab.turmGegenRueckstaendig * (ich.anzahl[TURM] + 1);

    // A bishop caught in the enemy's corner behind protected pawns (Bxa7
    // b6): it is out of play and may be lost, a penalty.
    if (ich.bb[LAEUFER]) {
        const Bitboard gedeckteBauern = er.bb[BAUER] & seine.angegriffen;
        for (const Eckmuster_t& m : ECKMUSTER)
            if ((ich.bb[LAEUFER] & bit(relativ<S>(m.laeufer))) &&
                (gedeckteBauern & gespiegelt<S>(m.bauern)) == gespiegelt<S>(m.bauern))
                w -= tab.laeuferEcke;
    }

    // Advanced passed pawns: protection of the pawn and of its stop square.
    for (Bitboard b = pe.freibauern & ich.bb[BAUER] & (relReihenMaske<S>(1) | relReihenMaske<S>(2) | relReihenMaske<S>(3)); b;) {
        const int sq = popLsb(b);
        const int i = relReihe<S>(sq);
        const Bitboard stopp = vor<S>(bit(sq));
        if (meine.angegriffen & bit(sq)) w += tab.freibauerGedeckt[i];
        if (d.belegt & stopp) w -= tab.freibauerBlockiert[i];
        if (seine.angegriffen & stopp) {
            w -= tab.stoppAngegriffen[i];
            if (seine.doppelt & stopp) w -= tab.stoppAngegriffen2[i];
        }
        if (meine.angegriffen & stopp) {
            w += tab.stoppGedeckt[i];
            if (meine.doppelt & stopp) w += tab.stoppGedeckt2[i];
        }
    }

    // A single bishop wants its pawns on the other colour.
    if (ich.anzahl[LAEUFER] == 1) {
        const Bitboard farbe = (ich.bb[LAEUFER] & HELLE_FELDER) ? HELLE_FELDER : DUNKLE_FELDER;
        w += tab.laeuferBauernfarbe * (popcount(ich.bb[BAUER] & ~farbe) - popcount(ich.bb[BAUER] & farbe));
    }

    // Against an enemy queen the king wants a pawn beside it.
    if (er.anzahl[DAME] && !(ich.bb[BAUER] & AT.koenig[ich.koenig] & INNEN)) w -= tab.nackterKoenig;

    // Enemy pieces hanging (attacked and not defended) or threatened.
    w += tab.drohung[popcount(er.bb[0] & ((meine.angegriffen & ~seine.angegriffen) | meine.bedroht))];

    // Enemy pieces pinned to their king.
    w += tab.fesselung * popcount(meine.gefesselt & er.bb[0] & ~er.bb[BAUER]);
    return w;
}

template <class T, class E>
inline typename T::Paar figurenUndBauern(const T& tab, const Stellung_t& st, const Stellungsdaten_t& d, const E& pe)
{
    return figurenUndBauernSeite<WEISS>(tab, st, d, pe) - figurenUndBauernSeite<SCHWARZ>(tab, st, d, pe);
}
