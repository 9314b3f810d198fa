#pragma once
#include <cstdint>

#include "chess/stellung.h"
#include "eval/bauern_tabelle.h"
#include "eval/material_tabelle.h"

// Static evaluation of a position for the side to move (1000 units are
// about a pawn). The attack records in d must be current. Writes only into
// the two caches, which belong to the calling thread.
int32_t evaluate(const Stellung_t& st, const Stellungsdaten_t& d, MaterialTable& mt, PawnTable& pt);

// The same evaluation, split into its parts, for tests and diagnostics.
// Every value is from White's point of view.
struct Bewertungsteile_t {
    int32_t phase;
    int32_t bilanz;
    PackedScore bauern;
    PackedScore ungleichgewicht;
    PackedScore mobilitaet[2];
    int32_t angriffszaehler[2];
    PackedScore figurenBauern;
    int32_t koenigEndspiel;       // 0 when the phase is 256
    int32_t koenigssicherheit;    // 0 when the phase is 0
    PackedScore summe;            // every packed term, tempo included (the material balance is added apart)
    int32_t gemischt;             // the blend of both halves, plus the balance again
    int32_t ergebnis;             // after the drawish scaling
};
void bewertungsteile(const Stellung_t& st, const Stellungsdaten_t& d, MaterialTable& mt, PawnTable& pt,
                     Bewertungsteile_t& teile);
