#pragma once
// Helpers shared by the bitbase tests.
#include "../test_hilfen.h"
#include "bitbase/material.h"

// A position of a material from its name and squares in name order.
inline BbStellung_t bbStellung(const char* name, std::initializer_list<int> felder, int amZug = 0, int ep = 0)
{
    BbStellung_t b;
    materialLesen(name, b);
    int j = 0;
    for (int f : felder) b.feld[j++] = uint8_t(f);
    b.amZug = amZug;
    b.ep = ep;
    return b;
}
