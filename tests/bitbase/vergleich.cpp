#include "vergleich.h"

#include <cstdio>

namespace {

const char* const BUCHSTABEN = "-BSLTDK";

std::string beschreiben(const orakel::Loeser& l, int amZug, int ep, const int* f)
{
    std::string s;
    char puffer[16];
    for (int j = 0; j < l.anzahl(); ++j) {
        std::snprintf(puffer, sizeof(puffer), "%c%c%c%d ", l.figuren()[j].seite ? 'b' : 'w',
                      BUCHSTABEN[l.figuren()[j].typ], 'a' + (f[j] & 7), 8 - (f[j] >> 3));
        s += puffer;
    }
    std::snprintf(puffer, sizeof(puffer), "%s ep %d", amZug ? "b" : "w", ep);
    return s + puffer;
}

} // namespace

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
        int erwartet = w == orakel::REMIS ? 0 : (w == orakel::GEWINN) == (amZug == 0) ? 1 : -1;
        if (amZug == 0 && w == orakel::GEWINN) ++v.weissGewinnt;
        for (int spiegel = 0; spiegel < 2; ++spiegel) {
            // spiegel: colours exchanged and rows mirrored.
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
            if (bekannt) ++v.falsch;
            else ++v.unbekannt;
            if (v.erstesProblem.empty())
                v.erstesProblem = beschreiben(l, amZug, ep, f) + (spiegel ? " (colours reversed)" : "") +
                                  ": expected " + std::to_string(soll) +
                                  (bekannt ? ", probe " + std::to_string(r) : ", probe unknown");
        }
    }
    return v;
}
