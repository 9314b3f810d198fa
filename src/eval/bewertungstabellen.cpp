#include "eval/bewertungstabellen.h"

#include "eval/gewichte_eingebaut.h"

constinit Bewertungstabellen_t BW = tabellenAus(GEWICHTE_EINGEBAUT);

namespace {
Gewichte_t aktuell = GEWICHTE_EINGEBAUT;
uint32_t stand = 0;
} // namespace

const Gewichte_t& aktuelleGewichte()
{
    return aktuell;
}

uint32_t gewichteStand()
{
    return stand;
}

void gewichteSetzen(const Gewichte_t& g)
{
    if (g == aktuell) return;
    aktuell = g;
    BW = tabellenAus(g);
    ++stand;
}
