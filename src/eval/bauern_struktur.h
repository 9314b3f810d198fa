#pragma once
// The computation of a pawn entry, for any weight tables (the engine's in
// eval/bauern_tabelle.cpp, the tuner's traced ones).
#include "eval/bauern_tabelle.h"
#include "eval/brett_hilfen.h"

namespace bauernstruktur {

// The row of sq and the rows directly in front of and behind it.
constexpr Bitboard dreiReihen(int sq)
{
    Bitboard r = rowMask(rowOf(sq));
    return r | schrittNord(r) | schrittSued(r);
}

// Squares attacked by a pawn of S that no enemy pawn can ever attack: the
// enemy pawns may advance up to two steps, each onto a square holding no
// pawn of S and not covered by one.
template <int S>
Bitboard vorposten(Bitboard eigene, Bitboard gegner)
{
    constexpr int O = S ^ 1;
    Bitboard gedeckt = bauernAngriffeVon(S, eigene);
    Bitboard gesperrt = eigene | gedeckt;
    Bitboard schritt1 = vor<O>(gegner) & ~gesperrt;
    Bitboard schritt2 = vor<O>(schritt1) & ~gesperrt;
    return gedeckt & ~bauernAngriffeVon(O, gegner | schritt1 | schritt2);
}

// Squares from which a king reaches the promotion square of the passed pawn
// on sq in time: as many king steps as the pawn needs (five from its
// starting rank, which it leaves with a double step), over squares free of
// other pawns and not covered by two other pawns of S.
template <int S>
Bitboard fangBereich(int sq, Bitboard eigene, Bitboard gegner)
{
    Bitboard andere = eigene & ~bit(sq);
    Bitboard doppeltGedeckt = bauernAngriffLinks<S>(andere) & bauernAngriffRechts<S>(andere);
    Bitboard begehbar = ~((eigene | gegner) & ~bit(sq)) & ~doppeltGedeckt;
    int ziel = S == WEISS ? fileOf(sq) : 56 + fileOf(sq);
    int schritte = relReihe<S>(sq) < 5 ? relReihe<S>(sq) : 5;
    Bitboard bereich = bit(ziel) & begehbar;
    for (int i = 0; i < schritte; ++i) bereich |= koenigsSchritt(bereich) & begehbar;
    return bereich;
}

// Structure terms of the pawns of S; fills the side's share of the entry's
// bitboards and returns its score.
template <int S, class T, class E>
typename T::Paar struktur(const T& tab, Bitboard eigene, Bitboard gegner, E& e, Bitboard& frei)
{
    constexpr int O = S ^ 1;
    const Bitboard eigeneDeckung = bauernAngriffeVon(S, eigene);
    const Bitboard gegnerDeckung = bauernAngriffeVon(O, gegner);
    typename T::Paar w{};

    int belegteLinien = 0;
    for (int f = 0; f < 8; ++f) {
        int n = popcount(eigene & fileMask(f));
        if (!n) continue;
        ++belegteLinien;
        if (n > 2) w -= tab.dreifach * (n - 2);
        if (!(eigene & NEBENLINIEN(f))) {
            w -= (f == 0 || f == 7) ? tab.isoliertRand : tab.isoliert;
            if (n >= 2) w -= tab.isoliertDoppelt;
        }
    }
    // Every pawn with another one of its side behind it on its file.
    w -= tab.doppelbauer * (popcount(eigene) - belegteLinien);

    for (Bitboard b = eigene; b;) {
        const int sq = popLsb(b);
        const Bitboard feld = bit(sq);
        const int f = fileOf(sq);
        const int rr = relReihe<S>(sq);
        w += tab.bauerFeld[relativ<S>(sq)];

        // Disconnected: neighbours exist, but none close enough to join it
        // (from the 4th rank a neighbour still on the 2nd rank counts).
        Bitboard nachbarn = eigene & NEBENLINIEN(f);
        if (nachbarn) {
            Bitboard nah = dreiReihen(sq);
            if (rr == 4) nah |= relReihenMaske<S>(6);
            if (!(nachbarn & nah)) w -= tab.getrennt;
        }

        // Backward: no pawn beside it or covering it, and its stop square is
        // covered by an enemy pawn.
        if (!(eigene & seitlich(feld)) && !(eigeneDeckung & feld) && (gegnerDeckung & vor<S>(feld))) {
            w -= tab.rueckstaendig;
            if (vor<S>(seitlich(feld)) & eigene & zurueck<S>(gegner)) w -= tab.rueckstaendigBlock;
            e.schwach |= feld;
            if (!(gegner & fileMask(f))) e.rueckstaendigHalboffen |= feld;
        }

        if (!(gegner & SPANNEN.frei[S][sq])) {
            frei |= feld;
            continue;
        }

        // Candidate on the 5th or 6th rank with a free file in front: more
        // helpers beside and ahead than enemy pawns on the neighbouring
        // files one or two ranks behind.
        if ((rr == 2 || rr == 3) && !(gegner & (vor<S>(feld) | vor<S>(vor<S>(feld))))) {
            const Bitboard linien = NEBENLINIEN(f);
            const Bitboard reihe = rowMask(rowOf(sq));
            int gegen = popcount(gegner & linien & (zurueck<S>(reihe) | zurueck<S>(zurueck<S>(reihe))));
            int helfer = popcount(eigene & linien & (reihe | vor<S>(reihe)) &
                                  (relReihenMaske<S>(2) | relReihenMaske<S>(3)));
            if (gegen < helfer) {
                w += tab.kandidat;
                if (rr == 2) w += tab.kandidat6;
            }
        }
    }

    e.vorposten[S] = vorposten<S>(eigene, gegner);
    return w;
}

// Passed pawns of S: square values, connected pairs, promotion squares and
// the catch region.
template <int S, class T, class E>
typename T::Paar freibauern(const T& tab, Bitboard frei, Bitboard eigene, Bitboard gegner, E& e)
{
    typename T::Paar w{};
    Bitboard fang = ~Bitboard(0);
    for (Bitboard b = frei; b;) {
        const int sq = popLsb(b);
        w += tab.freibauerFeld[relativ<S>(sq)];
        if (frei & NEBENLINIEN(fileOf(sq)) & dreiReihen(sq)) w += tab.freibauerVerbunden[relReihe<S>(sq)];
        e.umwandlung |= bit(S == WEISS ? fileOf(sq) : 56 + fileOf(sq));
        fang &= fangBereich<S>(sq, eigene, gegner);
    }
    e.fang[S] = fang;
    return w;
}

} // namespace bauernstruktur

template <class T, class E>
void bauernEintragBerechnen(const T& tab, uint64_t schluessel, Bitboard weiss, Bitboard schwarz, E& e)
{
    using namespace bauernstruktur;
    e = E{};
    e.schluessel = schluessel;
    e.fang[WEISS] = e.fang[SCHWARZ] = ~Bitboard(0);

    Bitboard freiW = 0, freiS = 0;
    typename T::Paar w = struktur<WEISS>(tab, weiss, schwarz, e, freiW);
    w -= struktur<SCHWARZ>(tab, schwarz, weiss, e, freiS);

    // Pawns blocked head-on, and the enemy pawns blocking them.
    Bitboard blockiert = weiss & schrittSued(schwarz);
    e.schwach |= blockiert | schrittNord(blockiert);

    if (freiW | freiS) {
        e.freibauern = freiW | freiS;
        w += freibauern<WEISS>(tab, freiW, weiss, schwarz, e);
        w -= freibauern<SCHWARZ>(tab, freiS, schwarz, weiss, e);
    }
    e.wert = w;

    uint8_t ohneW = 0, ohneS = 0, offen = 0, mitBauern = 0;
    for (int f = 0; f < 8; ++f) {
        bool w1 = weiss & fileMask(f), s1 = schwarz & fileMask(f);
        if (!w1) ++ohneW;
        if (!s1) ++ohneS;
        if (!w1 && !s1) offen |= uint8_t(1u << f);
        else ++mitBauern;
    }
    e.offeneLinien = offen;
    e.linienMitBauern = mitBauern;
    e.linienOhneBauer[WEISS] = ohneW;
    e.linienOhneBauer[SCHWARZ] = ohneS;
}
