#pragma once
#include <cstdint>

// Cumulative material of one side by the number of pieces of a type: the
// evaluation sums them per side, the endgame recognisers and the quiescence
// search read differences of neighbouring entries (the value of one more or
// one less piece at the current count).
constexpr int32_t MATERIAL_BAUER[9] = {0, 1083, 2033, 2771, 3482, 4192, 4902, 5612, 6322};
constexpr int32_t MATERIAL_SPRINGER[11] = {0, 2975, 5964, 8894, 11824, 14754, 17684, 20614, 23544, 26474, 29404};
constexpr int32_t MATERIAL_LAEUFER[11] = {0, 3129, 6259, 9339, 12219, 15099, 17979, 20859, 23739, 26619, 29499};
constexpr int32_t MATERIAL_TURM[11] = {0, 4820, 9359, 13809, 18259, 22709, 27159, 31609, 36059, 40509, 44959};
constexpr int32_t MATERIAL_DAME[10] = {0, 9792, 17596, 23196, 28796, 34396, 39996, 45596, 51196, 56796};

// Material of `anzahl` pieces of type `typ` (pawn..queen); counts beyond the
// tables cannot occur in a validated position.
constexpr int32_t materialWert(int typ, int anzahl)
{
    switch (typ) {
    case 1: return MATERIAL_BAUER[anzahl];
    case 2: return MATERIAL_SPRINGER[anzahl];
    case 3: return MATERIAL_LAEUFER[anzahl];
    case 4: return MATERIAL_TURM[anzahl];
    case 5: return MATERIAL_DAME[anzahl];
    default: return 0;
    }
}

// Distance of a king from the centre (larger is worse in the endgame), for
// White's view; symmetric in all four quarters. Index: square (a8 = 0).
constexpr int32_t KOENIG_ZENTRUM[64] = {
    252, 206, 166, 129, 129, 166, 206, 252,
    206, 148, 111,  79,  79, 111, 148, 206,
    166, 111,  64,  36,  36,  64, 111, 166,
    129,  79,  36,   0,   0,  36,  79, 129,
    129,  79,  36,   0,   0,  36,  79, 129,
    166, 111,  64,  36,  36,  64, 111, 166,
    206, 148, 111,  79,  79, 111, 148, 206,
    252, 206, 166, 129, 129, 166, 206, 252,
};
