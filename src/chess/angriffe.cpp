#include "chess/attacks.h"
#include "chess/stellung.h"

// The attack record for side s describes what the opponent A = 1 - s does
// to s. Double attacks are accumulated piece by piece: pawns (squares hit by
// two pawns), knights, bishops, rooks, queens, king. Sliders look through
// their own batteries (bishops and queens on diagonals, rooks and queens on
// lines), so a battery counts twice.
void angriffeBerechnen(const Stellung_t& st, Bitboard belegt, int s, Angriffe_t& a)
{
    const int g = s ^ 1;
    const Seite_t& gs = st.seite[g];
    const Seite_t& ss = st.seite[s];

    const Bitboard bauern = gs.bb[BAUER];
    Bitboard links, rechts;
    if (g == WEISS) {
        links = schrittNord(schrittA(bauern));
        rechts = schrittNord(schrittH(bauern));
    } else {
        links = schrittSued(schrittA(bauern));
        rechts = schrittSued(schrittH(bauern));
    }
    const Bitboard bauernAngriffe = links | rechts;
    Bitboard einfach = bauernAngriffe;
    Bitboard doppelt = links & rechts;

    Bitboard springerAngriffe = 0;
    for (int i = 0; i < gs.anzahl[SPRINGER]; ++i) {
        Bitboard z = AT.springer[gs.liste[SPRINGER - 1][i]];
        doppelt |= z & einfach;
        einfach |= z;
        springerAngriffe |= z;
    }

    const Bitboard diagonalSchieber = gs.bb[LAEUFER] | gs.bb[DAME];
    const Bitboard geradeSchieber = gs.bb[TURM] | gs.bb[DAME];
    const Bitboard durchDiagonal = belegt & ~diagonalSchieber;
    const Bitboard durchGerade = belegt & ~geradeSchieber;

    Bitboard laeuferAngriffeAlle = 0;
    for (int i = 0; i < gs.anzahl[LAEUFER]; ++i) {
        int sq = gs.liste[LAEUFER - 1][i];
        Bitboard direkt = laeuferAngriffe(sq, belegt);
        einfach |= direkt;
        doppelt |= laeuferAngriffe(sq, durchDiagonal) & einfach;
        laeuferAngriffeAlle |= direkt;
    }
    Bitboard turmAngriffeAlle = 0;
    for (int i = 0; i < gs.anzahl[TURM]; ++i) {
        int sq = gs.liste[TURM - 1][i];
        Bitboard direkt = turmAngriffe(sq, belegt);
        einfach |= direkt;
        doppelt |= turmAngriffe(sq, durchGerade) & einfach;
        turmAngriffeAlle |= direkt;
    }
    for (int i = 0; i < gs.anzahl[DAME]; ++i) {
        int sq = gs.liste[DAME - 1][i];
        Bitboard z = laeuferAngriffe(sq, durchDiagonal) | turmAngriffe(sq, durchGerade);
        doppelt |= z & einfach;
        einfach |= z;
    }
    {
        Bitboard z = AT.koenig[gs.koenig];
        doppelt |= z & einfach;
        einfach |= z;
    }

    // Pieces of s that lesser pieces of A attack.
    Bitboard bedroht = (ss.bb[0] & ~ss.bb[BAUER]) & bauernAngriffe;
    Bitboard ziele = ss.bb[TURM] | ss.bb[DAME];
    if (ss.anzahl[LAEUFER] == 2) ziele |= ss.bb[LAEUFER];
    bedroht |= ziele & springerAngriffe;
    if (gs.anzahl[LAEUFER] == 1) ziele &= ~ss.bb[LAEUFER];
    bedroht |= ziele & laeuferAngriffeAlle;
    Bitboard turmZiele = ss.bb[DAME];
    if (ss.anzahl[TURM] < gs.anzahl[TURM]) turmZiele |= ss.bb[TURM];
    bedroht |= turmZiele & turmAngriffeAlle;

    a.angegriffen = einfach;
    a.doppelt = doppelt;
    a.bauern = bauernAngriffe;
    a.bedroht = bedroht;
}

// A piece of s standing alone between its king and a slider of A on the
// slider's line is pinned. Only pieces A attacks can be pinned.
void fesselungenBerechnen(const Stellung_t& st, Bitboard belegt, int s, Angriffe_t& a)
{
    const int g = s ^ 1;
    const Seite_t& gs = st.seite[g];
    const int k = st.seite[s].koenig;
    Bitboard kandidaten = st.seite[s].bb[0] & a.angegriffen;
    Bitboard gefesselt = 0;
    if (kandidaten) {
        Bitboard fessler = (AT.turmLeer[k] & (gs.bb[TURM] | gs.bb[DAME])) |
                           (AT.laeuferLeer[k] & (gs.bb[LAEUFER] | gs.bb[DAME]));
        while (fessler) {
            int sq = popLsb(fessler);
            Bitboard dazwischen = AT.zwischen[k][sq] & belegt;
            if (dazwischen && !mehrAlsEins(dazwischen)) gefesselt |= dazwischen & kandidaten;
        }
    }
    a.gefesselt = gefesselt;
}
