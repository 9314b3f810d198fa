#pragma once
#include "chess/attacks.h"
#include "chess/stellung.h"
#include "eval/bauern_tabelle.h"
#include "eval/brett_hilfen.h"
#include "eval/eval_tabellen.h"

// Terms of pieces against the pawn structure and against each other,
// computed for every evaluation from the pawn entry and the attack records.

namespace figbau {

constexpr PackedScore TURM_AUF_7 = S(136, 44);
constexpr PackedScore TURM_AUF_7_BAUERN = S(0, 22);
constexpr PackedScore TURM_AUF_7_KOENIG = S(0, 88);
constexpr PackedScore TURM_GEGEN_RUECKSTAENDIG = S(10, 11);
constexpr PackedScore LAEUFER_ECKE = S(315, 375);
constexpr PackedScore LAEUFER_BAUERNFARBE = S(5, 23);
constexpr PackedScore NACKTER_KOENIG = S(166, 350);
constexpr PackedScore FESSELUNG = S(111, 247);

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

template <int S>
inline PackedScore figurenUndBauernSeite(const Stellung_t& st, const Stellungsdaten_t& d, const PawnEntry& pe)
{
    using namespace figbau;
    constexpr int O = S ^ 1;
    const Seite_t& ich = st.seite[S];
    const Seite_t& er = st.seite[O];
    const Angriffe_t& meine = angriffeVon<S>(d);
    const Angriffe_t& seine = angriffeVon<O>(d);
    PackedScore w;

    // Knights and bishops on outposts.
    for (Bitboard b = ich.bb[SPRINGER] & pe.vorposten[S]; b;) w += SPRINGER_VORPOSTEN[relativ<S>(popLsb(b))];
    for (Bitboard b = ich.bb[LAEUFER] & pe.vorposten[S]; b;) w += LAEUFER_VORPOSTEN[relativ<S>(popLsb(b))];

    // Rooks on the 7th rank, and rooks against backward pawns on half-open files.
    if (ich.bb[TURM] & relReihenMaske<S>(1)) {
        w += TURM_AUF_7;
        if (er.bb[BAUER] & relReihenMaske<S>(1)) w += TURM_AUF_7_BAUERN;
        if (bit(er.koenig) & relReihenMaske<S>(0)) w += TURM_AUF_7_KOENIG;
    }
    if (ich.anzahl[TURM] && (pe.rueckstaendigHalboffen & er.bb[BAUER]))
        w += TURM_GEGEN_RUECKSTAENDIG * (ich.anzahl[TURM] + 1);

    // A bishop caught in the enemy's corner behind protected pawns (Bxa7
    // b6): it is out of play and may be lost, a penalty.
    if (ich.bb[LAEUFER]) {
        const Bitboard gedeckteBauern = er.bb[BAUER] & seine.angegriffen;
        for (const Eckmuster_t& m : ECKMUSTER)
            if ((ich.bb[LAEUFER] & bit(relativ<S>(m.laeufer))) &&
                (gedeckteBauern & gespiegelt<S>(m.bauern)) == gespiegelt<S>(m.bauern))
                w -= LAEUFER_ECKE;
    }

    // Advanced passed pawns: protection of the pawn and of its stop square.
    for (Bitboard b = pe.freibauern & ich.bb[BAUER] & (relReihenMaske<S>(1) | relReihenMaske<S>(2) | relReihenMaske<S>(3)); b;) {
        const int sq = popLsb(b);
        const int i = relReihe<S>(sq);
        const Bitboard stopp = vor<S>(bit(sq));
        if (meine.angegriffen & bit(sq)) w += FREIBAUER_GEDECKT[i];
        if (d.belegt & stopp) w -= FREIBAUER_BLOCKIERT[i];
        if (seine.angegriffen & stopp) {
            w -= STOPP_ANGEGRIFFEN[i];
            if (seine.doppelt & stopp) w -= STOPP_ANGEGRIFFEN2[i];
        }
        if (meine.angegriffen & stopp) {
            w += STOPP_GEDECKT[i];
            if (meine.doppelt & stopp) w += STOPP_GEDECKT2[i];
        }
    }

    // A single bishop wants its pawns on the other colour.
    if (ich.anzahl[LAEUFER] == 1) {
        const Bitboard farbe = (ich.bb[LAEUFER] & HELLE_FELDER) ? HELLE_FELDER : DUNKLE_FELDER;
        w += LAEUFER_BAUERNFARBE * (popcount(ich.bb[BAUER] & ~farbe) - popcount(ich.bb[BAUER] & farbe));
    }

    // Against an enemy queen the king wants a pawn beside it.
    if (er.anzahl[DAME] && !(ich.bb[BAUER] & AT.koenig[ich.koenig] & INNEN)) w -= NACKTER_KOENIG;

    // Enemy pieces hanging (attacked and not defended) or threatened.
    w += DROHUNG[popcount(er.bb[0] & ((meine.angegriffen & ~seine.angegriffen) | meine.bedroht))];

    // Enemy pieces pinned to their king.
    w += FESSELUNG * popcount(meine.gefesselt & er.bb[0] & ~er.bb[BAUER]);
    return w;
}

inline PackedScore figurenUndBauern(const Stellung_t& st, const Stellungsdaten_t& d, const PawnEntry& pe)
{
    return figurenUndBauernSeite<WEISS>(st, d, pe) - figurenUndBauernSeite<SCHWARZ>(st, d, pe);
}
