#pragma once
#include "chess/attacks.h"
#include "chess/stellung.h"
#include "eval/brett_hilfen.h"
#include "eval/bewertungstabellen.h"

// Mobility of one side's pieces, with the king-attack counter that adds up
// how many of them reach the squares around the enemy king.
template <class P, class Z>
struct Mobilitaet {
    P wert;
    Z koenigsangriff;
};
using Mobilitaet_t = Mobilitaet<PackedScore, int32_t>;

// Centre squares count more for knights and bishops: 3 on d4-e5, 2 on the
// rest of c3-f6, 1 elsewhere.
inline int feldGewicht(Bitboard ziele)
{
    return popcount(ziele) + popcount(ziele & GROSSES_ZENTRUM) + popcount(ziele & ZENTRUM);
}

// Squares next to b1/g1 and a2/h2 (b8/g8, a7/h7): a rook that may still be
// castled does not count them.
constexpr Bitboard TURM_ROCHADE_FELDER[2] = {
    bit(B1) | bit(G1) | bit(A2) | bit(H2),
    bit(B8) | bit(G8) | bit(A7) | bit(H7),
};

template <int S, class T>
inline Mobilitaet<typename T::Paar, typename T::Zahl> mobilitaet(const T& tab, const Stellung_t& st,
                                                                const Stellungsdaten_t& d)
{
    using Z = typename T::Zahl;
    constexpr int O = S ^ 1;
    const Seite_t& ich = st.seite[S];
    const Seite_t& er = st.seite[O];
    const Angriffe_t& meine = angriffeVon<S>(d);
    const Angriffe_t& seine = angriffeVon<O>(d);

    const Bitboard zone = AT.koenig[er.koenig];
    Z zaehler = (meine.bauern & zone) ? tab.angriffBauern : Z{};
    typename T::Paar w{};

    // Free of own pieces, not covered by an enemy pawn, and not attacked by
    // the enemy unless S attacks it twice; enemy pieces other than pawns
    // can always be attacked.
    const Bitboard bereich = (~ich.bb[0] & ~seine.bauern & ~(seine.angegriffen & ~meine.doppelt)) |
                             (er.bb[0] & ~er.bb[BAUER]);

    const uint8_t* liste = ich.listeVon(SPRINGER);
    for (int i = 0; i < ich.anzahl[SPRINGER]; ++i) {
        const int sq = liste[i];
        Bitboard ziele = AT.springer[sq] & bereich;
        w += tab.springerFeld[relativ<S>(sq)] + tab.springerMobilitaet[feldGewicht(ziele)];
        if (ziele & zone) zaehler += tab.angriffSpringer;
    }

    liste = ich.listeVon(LAEUFER);
    for (int i = 0; i < ich.anzahl[LAEUFER]; ++i) {
        Bitboard ziele = laeuferAngriffe(liste[i], d.belegt) & bereich;
        w += tab.laeuferMobilitaet[feldGewicht(ziele)];
        if (ziele & zone) zaehler += tab.angriffLaeufer;
    }

    if (ich.anzahl[TURM]) {
        // Rooks look through their own pieces, only own pawns and the own
        // king block them.
        const Bitboard blocker = ich.bb[BAUER] | ich.bb[KOENIG] | er.bb[0];
        Bitboard turmBereich = bereich;
        if (st.rochade & RECHTE_DER_SEITE[S]) turmBereich &= ~TURM_ROCHADE_FELDER[S];
        liste = ich.listeVon(TURM);
        for (int i = 0; i < ich.anzahl[TURM]; ++i) {
            Bitboard ziele = turmAngriffe(liste[i], blocker) & turmBereich;
            w += tab.turmMobilitaet[popcount(ziele)];
            if (ziele & zone) zaehler += tab.angriffTurm;
        }
    }

    if (ich.anzahl[DAME]) {
        const Bitboard dameBereich = (~ich.bb[0] & ~seine.angegriffen) | er.bb[DAME];
        liste = ich.listeVon(DAME);
        for (int i = 0; i < ich.anzahl[DAME]; ++i) {
            Bitboard ziele = dameAngriffe(liste[i], d.belegt) & dameBereich;
            w += tab.dameMobilitaet[popcount(ziele)];
            if (ziele & zone) zaehler += tab.angriffDame;
        }
    }
    return {w, zaehler};
}

// With the engine's current weights.
template <int S>
inline Mobilitaet_t mobilitaet(const Stellung_t& st, const Stellungsdaten_t& d)
{
    return mobilitaet<S>(BW, st, d);
}
