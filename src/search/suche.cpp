#include "search/suche.h"

#include "platform/clock.h"
#include "shell/ausgabe.h"

// STAND-IN (see suche.h).

Suche_t::Suche_t()
{
    fadenStarten();
}

Suche_t::~Suche_t()
{
    beenden();
}

void Suche_t::search()
{
    // The answer to a ponder search waits until "ponderhit" or "stop".
    while (ponderAktiv()) schlafeMs(20);
    ausgabe->BesterZug(*stellung, wurzelAnzahl > 0 ? wurzelZuege[0] : 0, 0);
}
