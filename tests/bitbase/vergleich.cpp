#include "vergleich.h"

#include <cstdio>

Vergleich_t bitbasenVergleichen(const orakel::Loeser& l, BitbaseCache_t& cache)
{
    Vergleich_t v;
    int f[5];
    for (uint64_t i = 0; i < l.positionen(); ++i) {
        const orakel::Wert w = l.wert(i);
        if (w == orakel::ILLEGAL) continue;
        int amZug;
        bool epFlag;
        l.lesen(i, amZug, epFlag, f);
        const int ep = l.epFeld(amZug, epFlag, f);
        // Value for White: +1 White wins, -1 Black wins.
        const int erwartet = w == orakel::REMIS ? 0 : (w == orakel::GEWINN) == (amZug == 0) ? 1 : -1;
        v.weissGewinnt += amZug == 0 && w == orakel::GEWINN;
        for (int spiegel = 0; spiegel < 2; ++spiegel) { // colours exchanged and rows mirrored
            BbSeite_t seiten[2];
            for (int j = 0; j < l.anzahl(); ++j) {
                BbSeite_t& s = seiten[l.figuren()[j].seite ^ spiegel];
                s.typ[s.anzahl] = uint8_t(l.figuren()[j].typ);
                s.feld[s.anzahl++] = uint8_t(spiegel ? f[j] ^ 56 : f[j]);
            }
            int r = 9;
            ++v.geprueft;
            const bool bekannt = bitbaseProbe(cache, seiten[0], seiten[1], amZug ^ spiegel,
                                              ep ? (spiegel ? ep ^ 56 : ep) : 0, false, r);
            const int soll = spiegel ? -erwartet : erwartet;
            if (bekannt && r == soll) continue;
            ++(bekannt ? v.falsch : v.unbekannt);
            if (!v.erstesProblem.empty()) continue;
            for (int j = 0; j < l.anzahl(); ++j)
                v.erstesProblem += std::string(1, l.figuren()[j].seite ? 'b' : 'w') + "-BSLTDK"[l.figuren()[j].typ] +
                                   char('a' + (f[j] & 7)) + char('8' - (f[j] >> 3)) + " ";
            v.erstesProblem += std::string(amZug ? "b" : "w") + " ep " + std::to_string(ep) +
                               (spiegel ? " (colours reversed)" : "") + ": expected " + std::to_string(soll) +
                               (bekannt ? ", probe " + std::to_string(r) : ", probe unknown");
        }
    }
    return v;
}
