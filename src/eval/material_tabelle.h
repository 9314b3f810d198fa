#pragma once
#include <cstdint>

#include "chess/stellung.h"
#include "eval/packed_score.h"

// What the evaluation needs from the material alone: both sides' material
// sums, the game phase, the material balance and the imbalance terms. Cached
// per search thread under the material key.
struct MaterialEntry {
    uint64_t schluessel;       // material key; a hit needs equality
    int32_t summe[2];          // material sum of White and of Black
    int32_t phase;             // 0 (endgame) .. 256 (middlegame)
    int32_t bilanz;            // White minus Black after the trade-down correction
    PackedScore ungleichgewicht;
};
static_assert(sizeof(MaterialEntry) == 32);

struct MaterialTable {
    static constexpr uint32_t GROESSE = 4096;
    MaterialEntry eintrag[GROESSE];

    MaterialTable() { leeren(); }
    // Marks every entry as empty (a key that cannot hash to its own slot).
    void leeren();
};
static_assert(sizeof(MaterialTable) == 131072);

// Material sum of one side: cumulative values by the count of each type.
int32_t materialSumme(const Seite_t& s);
// Phase from the sum of both sides' material: 0 at 25000 and below, 256 from
// 42016 on.
int32_t phaseAusMaterial(int32_t summeBeide);
// The balance: the difference d, corrected so that trading pieces down helps
// the side ahead and trading pawns helps the side behind.
int32_t materialBilanz(int32_t summeWeiss, int32_t summeSchwarz, int bauernWeiss, int bauernSchwarz);

void materialEintragBerechnen(const Stellung_t& st, uint64_t schluessel, MaterialEntry& e);

inline const MaterialEntry& materialEintrag(MaterialTable& t, const Stellung_t& st, uint64_t schluessel)
{
    MaterialEntry& e = t.eintrag[schluessel % MaterialTable::GROESSE];
    if (e.schluessel != schluessel) materialEintragBerechnen(st, schluessel, e);
    return e;
}
