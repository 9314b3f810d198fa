#pragma once
#include "chess/stellung.h"
#include "eval/bauern_tabelle.h"
#include "eval/bewertungstabellen.h"

// Endings that are harder to win than the material says: opposite-coloured
// bishops, and a side without pawns that cannot convert a small advantage.

// Large scores shrink: identity within a pawn, a quarter beyond it, and half
// of that again beyond two pawns.
template <class Z>
inline Z komprimiert(const Z& score)
{
    if (score >= -1000 && score <= 1000) return score;
    if (score > 1000) {
        const Z c = score / 4 + 750;
        return c > 2000 ? c / 2 + 1000 : c;
    }
    const Z c = score / 4 - 750;
    return c < -2000 ? c / 2 - 1000 : c;
}

// How far apart the passed pawns of one side stand: 0 with at most one,
// 2 when they span more than two files, else 1.
inline int streuungsIndex(Bitboard frei)
{
    if (!mehrAlsEins(frei)) return 0;
    int links = 7, rechts = 0;
    for (int f = 0; f < 8; ++f)
        if (frei & fileMask(f)) {
            if (f < links) links = f;
            if (f > rechts) rechts = f;
        }
    return rechts - links > 2 ? 2 : 1;
}

// score is from White's point of view.
template <class T, class E, class Z = typename T::Zahl>
inline Z scaleDrawish(const T& tab, const Stellung_t& st, Z score, const E& pe)
{
    const Seite_t& w = st.seite[WEISS];
    const Seite_t& s = st.seite[SCHWARZ];

    if (w.anzahl[LAEUFER] == 1 && s.anzahl[LAEUFER] == 1 &&
        !(w.bb[LAEUFER] & HELLE_FELDER) != !(s.bb[LAEUFER] & HELLE_FELDER)) {
        const int figuren = (w.anzahl[0] - w.anzahl[BAUER]) + (s.anzahl[0] - s.anzahl[BAUER]);
        Z f{};
        if (figuren == 4) {
            f = tab.ungleicheLaeufer;
            if (mehrAlsEins(pe.freibauern))
                f = tab.ungleicheLaeufer - tab.streuung[streuungsIndex(pe.freibauern & w.bb[BAUER])] -
                    tab.streuung[streuungsIndex(pe.freibauern & s.bb[BAUER])];
        } else if (figuren == 6 && w.anzahl[TURM] == 1 && s.anzahl[TURM] == 1) {
            f = tab.ungleicheLaeuferTuerme;
        }
        if (f != 0) return score - (komprimiert(score) * f) / 256;
    }

    // A side without pawns against one with pawns.
    if (!s.anzahl[BAUER] && w.anzahl[BAUER] && score <= 0) {
        score += tab.ohneBauern;
        return score < 1 ? score : Z(1);
    }
    if (!w.anzahl[BAUER] && s.anzahl[BAUER] && score >= 0) {
        score -= tab.ohneBauern;
        return score > -1 ? score : Z(-1);
    }
    return score;
}
