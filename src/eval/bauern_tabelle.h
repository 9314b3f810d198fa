#pragma once
#include <cstdint>

#include "chess/bitboard.h"
#include "eval/packed_score.h"

// The pawn structure's share of the evaluation and the bitboards that the
// piece terms read. Depends on the pawns alone; cached per search thread
// under the pawn key.
template <class P>
struct PawnEintrag {
    uint64_t schluessel;               // pawn key; a hit needs equality
    Bitboard freibauern;               // passed pawns of both colours
    Bitboard umwandlung;               // promotion squares of the passed pawns
    Bitboard fang[2];                  // White's, Black's catch region (all ones without passed pawns)
    Bitboard vorposten[2];             // White's, Black's outposts
    Bitboard schwach;                  // frontally blocked pawns with their blockers, backward pawns
    Bitboard rueckstaendigHalboffen;   // backward pawns on files without enemy pawns
    P wert;                            // pawn score, White minus Black
    uint8_t offeneLinien;              // bit f: file f holds no pawn
    uint8_t linienMitBauern;           // files holding at least one pawn
    uint8_t linienOhneBauer[2];        // files without a White / without a Black pawn
};
using PawnEntry = PawnEintrag<PackedScore>;
static_assert(sizeof(PawnEntry) == 80);

struct PawnTable {
    static constexpr uint32_t GROESSE = 512;
    PawnEntry eintrag[GROESSE];

    PawnTable() { leeren(); }
    // Marks every entry as empty (a key that cannot hash to its own slot).
    void leeren();
};
static_assert(sizeof(PawnTable) == 40960);

// Computes the entry for the given pawns (White's, Black's) with the
// engine's current weights (eval/bauern_struktur.h for any tables).
void bauernEintragBerechnen(uint64_t schluessel, Bitboard weiss, Bitboard schwarz, PawnEntry& e);

inline const PawnEntry& bauernEintrag(PawnTable& t, uint64_t schluessel, Bitboard weiss, Bitboard schwarz)
{
    PawnEntry& e = t.eintrag[schluessel % PawnTable::GROESSE];
    if (e.schluessel != schluessel) bauernEintragBerechnen(schluessel, weiss, schwarz, e);
    return e;
}
