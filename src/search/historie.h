#pragma once
#include <cstdint>
#include <cstring>

#include "chess/zug.h"

// History counters of one side: one counter per (move kind AND 7,
// destination), with a growing increment so that recent successes weigh
// more than old ones, and a shift that keeps the values used for ordering
// within 16 bits.
struct Historie_t {
    uint32_t inkrement;
    uint32_t decke;    // current power-of-two ceiling
    uint32_t shift;
    uint32_t zaehler;  // small counter that paces the increment's growth
    uint32_t wert[832];

    void leeren()
    {
        inkrement = 0x10000;
        decke = 0x10000;
        shift = 0;
        zaehler = 0;
        std::memset(wert, 0, sizeof(wert));
    }

    static int index(Zug z) { return (zugArt(z) & 7) * 64 + zugNach(z); }

    uint32_t lesen(Zug z) const { return wert[index(z)] >> shift; }

    void belohnen(Zug z, uint32_t bonus)
    {
        zaehler += bonus;
        if (zaehler > 3) {
            zaehler = 0;
            inkrement += inkrement / 32;
        }
        uint32_t& w = wert[index(z)];
        w += inkrement;
        while (w > decke) {
            decke *= 2;
            ++shift;
        }
        if (w > 0x3C000000) {
            for (uint32_t& x : wert) x >>= 11;
            inkrement >>= 11;
            decke >>= 11;
            shift -= 11;
            if (inkrement < 32) inkrement = 32;
        }
    }
};
