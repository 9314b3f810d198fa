#include "search/suche_zufall.h"

#include "platform/clock.h"
#include "shell/ausgabe.h"
#include "shell/zufall.h"

SucheZufall_t::SucheZufall_t()
{
    fadenStarten();
}

SucheZufall_t::~SucheZufall_t()
{
    beenden();
}

void SucheZufall_t::search()
{
    const int n = int(wurzelEnde() - wurzelAnfang());
    Zug zug = 0;
    if (n > 0) zug = wurzelAnfang()[Zufallsgenerator::gemeinsam().ziehen() % uint32_t(n)] & 0xFFFF;
    while (ponderAktiv()) schlafeMs(20);
    // Without a legal move the answer is the null move, as from the real
    // search, so an interface never waits for a move that does not come.
    ausgabe->BesterZug(*stellung, zug, 0);
}
