#pragma once
#include <cstdint>

#include "chess/bitboard.h"

extern const uint64_t SCHLUESSEL[976];

constexpr uint64_t SEITEN_SCHLUESSEL = 0xD00FAFFEFEAF0FD0ull;
// Added to the material key while the bishops stand on opposite colours.
constexpr uint64_t UNGLEICHE_LAEUFER = 0x201FB33Dull;

inline uint64_t figurSchluessel(int seite, int typ, int sq) { return SCHLUESSEL[seite * 512 + typ * 64 + sq]; }
inline uint64_t rochadeSchluessel(int rechte) { return SCHLUESSEL[rechte]; }
inline uint64_t epSchluessel(int sq) { return SCHLUESSEL[512 + sq]; }
inline uint64_t materialZuwachs(int seite, int typ) { return SCHLUESSEL[960 + seite * 8 + typ]; }

// Class of the bishop colours: 0 = a side without bishops, 1 = opposite
// colours, 2 = same colour, 3 = a side with bishops on both colours. Index:
// black dark * 8 + black light * 4 + white dark * 2 + white light.
constexpr int LAEUFER_KLASSE[16] = {0, 0, 0, 0, 0, 2, 1, 3, 0, 1, 2, 3, 0, 3, 3, 3};

inline int laeuferKlasse(Bitboard weisseLaeufer, Bitboard schwarzeLaeufer)
{
    int i = ((schwarzeLaeufer & DUNKLE_FELDER) ? 8 : 0) | ((schwarzeLaeufer & HELLE_FELDER) ? 4 : 0) |
            ((weisseLaeufer & DUNKLE_FELDER) ? 2 : 0) | ((weisseLaeufer & HELLE_FELDER) ? 1 : 0);
    return LAEUFER_KLASSE[i];
}
