#pragma once
// Compares every legal position of a material, and its colour-reversed
// twin, between the independent solver and the bitbase probe.
#include <string>

#include "bitbase/cache.h"
#include "orakel.h"

struct Vergleich_t {
    uint64_t geprueft = 0, falsch = 0, unbekannt = 0; // probes made, answered wrongly, not answered
    uint64_t weissGewinnt = 0;                         // won positions with White to move
    std::string erstesProblem;
};

Vergleich_t bitbasenVergleichen(const orakel::Loeser& l, BitbaseCache_t& cache);
