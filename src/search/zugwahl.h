#pragma once
#include "chess/attacks.h"
#include "chess/stellung.h"
#include "search/historie.h"
#include "search/ply.h"

// Ordering values (32-bit) by piece type: none, pawn, knight, bishop, rook,
// queen, king.
constexpr uint32_t OPFER_WERT[7] = {0, 0x8000000, 0x18000000, 0x19000000, 0x20000000, 0x40000000, 0x40000000};
constexpr uint32_t ANGREIFER_WERT[7] = {0, 0x100000, 0x300000, 0x300000, 0x400000, 0x800000, 0x100000};
constexpr uint32_t TAUSCH_BONUS[7] = {0, 0x4000000, 0x5000000, 0x5000000, 0x6000000, 0x1C000000, 0};
// By move kind 7..10: promotion to knight, bishop, rook, queen.
constexpr uint32_t PROMOTIONS_BONUS[4] = {0x8000000, 0x100000, 0x200000, 0x28000000};
// Preference among recaptures by move kind 0..12.
constexpr int RUECKSCHLAG_WAHL[13] = {0, 10, 8, 6, 4, 3, 5, 2, 1, 1, 12, 0, 10};

// Nothing but kings and pawns on the board: the picker orders such pawn
// endings by their own rules, and the search extends trades into them.
inline bool nurKoenigeUndBauern(const Stellung_t& st)
{
    return st.seite[WEISS].anzahl[0] == st.seite[WEISS].anzahl[BAUER] + 1 &&
           st.seite[SCHWARZ].anzahl[0] == st.seite[SCHWARZ].anzahl[BAUER] + 1;
}

// Type of the piece that makes the move.
inline int ziehendeFigur(Zug z)
{
    int art = zugArt(z);
    if (art <= KOENIG) return art;
    if (art == ART_ROCHADE) return KOENIG;
    return BAUER;
}

struct ZugwahlKontext_t {
    const Stellung_t* st;
    const Stellungsdaten_t* d; // data of the node's position
    const Historie_t* historie; // the side to move's table
    Zug vorherigerZug;          // the parent's move (0 after a null move)
};

// A refutation becomes the first killer of its ply, unless it recaptures on
// the square just moved to, is an en-passant capture, or goes to a corner.
inline void killerEintragen(Ply_t* p, Zug m, Zug vorZug)
{
    const int ziel = zugNach(m);
    const bool ecke = ziel == A1 || ziel == H1 || ziel == A8 || ziel == H8;
    if ((istZug(vorZug) && ziel == zugNach(vorZug)) || m == (p->killer[0] & 0xFFFF) || zugArt(m) == ART_EP || ecke) return;
    p->killer[1] = p->killer[0];
    p->killer[0] = m;
}

// Prepares the picker for a freshly generated list.
inline void zugwahlStarten(Ply_t* p, Zug* ende, Zug hashZug)
{
    p->anfang = p->liste;
    p->aktuell = p->liste;
    p->ende = ende;
    p->phase = WAHL_SPEZIAL;
    p->hashZug = hashZug & 0xFFFF;
}

void zugwahlSortieren(Ply_t* p, const ZugwahlKontext_t& k, Zug* von);
Zug zugwahlSpezial(Ply_t* p, const ZugwahlKontext_t& k, bool mitHashZug);

// Next move of the node, 0 when the list is exhausted.
inline Zug naechsterZug(Ply_t* p, const ZugwahlKontext_t& k, bool mitHashZug = true)
{
    switch (p->phase) {
    case WAHL_SPEZIAL: {
        Zug z = zugwahlSpezial(p, k, mitHashZug);
        if (z) {
            p->phase = WAHL_SORTIEREN;
            return z;
        }
        zugwahlSortieren(p, k, p->aktuell);
        p->phase = WAHL_LISTE;
        break;
    }
    case WAHL_ERSTER:
        if (p->aktuell == p->anfang && p->aktuell != p->ende) {
            p->phase = WAHL_SORTIEREN;
            return *p->aktuell++ & 0xFFFF;
        }
        [[fallthrough]];
    case WAHL_SORTIEREN:
        zugwahlSortieren(p, k, p->aktuell);
        p->phase = WAHL_LISTE;
        break;
    default:
        break;
    }
    if (p->aktuell == p->ende) return 0;
    return *p->aktuell++ & 0xFFFF;
}
