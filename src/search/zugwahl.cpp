#include "search/zugwahl.h"

#include <algorithm>
#include <cstdlib>

namespace {

inline int naechsterBauer(int sq, Bitboard bauern)
{
    int best = 99;
    while (bauern) {
        int b = popLsb(bauern);
        int d = std::max(std::abs(rowOf(b) - rowOf(sq)), std::abs(fileOf(b) - fileOf(sq)));
        if (d < best) best = d;
    }
    return best;
}

} // namespace

Zug zugwahlSpezial(Ply_t* p, const ZugwahlKontext_t& k, bool mitHashZug)
{
    Zug* treffer = nullptr;
    if (mitHashZug && p->hashZug) {
        for (Zug* q = p->aktuell; q != p->ende; ++q)
            if ((*q & 0xFFFF) == p->hashZug) {
                treffer = q;
                break;
            }
    }
    if (!treffer && istZug(k.vorherigerZug)) {
        // The recapture on the square the opponent has just moved to.
        const int ziel = zugNach(k.vorherigerZug);
        int best = -1;
        for (Zug* q = p->aktuell; q != p->ende; ++q) {
            Zug z = *q & 0xFFFF;
            int art = zugArt(z);
            if (zugNach(z) != ziel && art != ART_EP) continue;
            int w = RUECKSCHLAG_WAHL[art];
            if (art == BAUER || art == ART_EP) {
                int von = zugVon(z);
                bool richtungA = fileOf(zugNach(z)) < fileOf(von);
                w += (fileOf(von) <= 2 || richtungA) ? -1 : 1;
            }
            if (w > best) {
                best = w;
                treffer = q;
            }
        }
    }
    if (!treffer) return 0;
    Zug z = *treffer;
    *treffer = *p->aktuell;
    *p->aktuell++ = z;
    return z & 0xFFFF;
}

void zugwahlSortieren(Ply_t* p, const ZugwahlKontext_t& k, Zug* von)
{
    const Stellung_t& st = *k.st;
    const int s = st.amZug;
    const Bitboard gegnerisch = k.d->angriffe[s].angegriffen;     // what the opponent attacks
    const Bitboard eigen = k.d->angriffe[s ^ 1].angegriffen;       // what we attack
    const Seite_t& gs = st.seite[s ^ 1];
    const int vorZiel = istZug(k.vorherigerZug) ? zugNach(k.vorherigerZug) : -1;
    const bool bauernEndspiel = nurKoenigeUndBauern(st);
    const Zug killer1 = p->killer[0] & 0xFFFF, killer2 = p->killer[1] & 0xFFFF;

    for (Zug* q = von; q != p->ende; ++q) {
        const Zug z = *q & 0xFFFF;
        const int art = zugArt(z), nach = zugNach(z);
        const uint32_t h = k.historie->lesen(z);
        uint32_t wert = ((h & ~127u) + 0x10080u) * 512u;
        const int c = (gs.bb[0] & bit(nach)) ? st.typAuf(s ^ 1, nach) : KEINE;
        const bool bedroht = (gegnerisch & bit(nach)) != 0;
        if (bauernEndspiel) {
            if (c == BAUER) {
                wert += 0x8000000;
                if (nach == vorZiel) wert += 0x80000;
                if (!bedroht) wert += 0x200000;
            }
            if (eigen & bit(nach)) wert += 0x100000;
            if (art == KOENIG) {
                Bitboard bauern = gs.bb[BAUER];
                if (bauern && naechsterBauer(nach, bauern) < naechsterBauer(zugVon(z), bauern)) wert += 0x40000;
            }
        } else {
            const int t = ziehendeFigur(z);
            if (art >= ART_PROMO_SPRINGER && art <= ART_PROMO_DAME) wert += PROMOTIONS_BONUS[art - ART_PROMO_SPRINGER];
            if (c <= t && bedroht) {
                if (c == t || (t == LAEUFER && c == SPRINGER)) wert += TAUSCH_BONUS[t];
            } else {
                wert += OPFER_WERT[c] - ANGREIFER_WERT[t];
            }
            if (nach == vorZiel) wert += 0x80000;
        }
        if (art == ART_ROCHADE) wert += 0x100000;
        if (art == ART_EP) wert += 0x1000000;
        if (z == killer1) wert += 0x200000;
        else if (z == killer2) wert += 0x180000;
        *q = ((0xFFFFu - (wert >> 16)) << 16) | z;
    }
    // Insertion sort: lists are short, and equal keys fall back to the move
    // value, which makes the order total.
    for (Zug* a = von + 1; a < p->ende; ++a) {
        Zug x = *a;
        Zug* b = a;
        while (b > von && *(b - 1) > x) {
            *b = *(b - 1);
            --b;
        }
        *b = x;
    }
}
