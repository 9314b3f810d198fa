#include "gamefiles/werkzeugsuche.h"

#include "search/suche.h"
#include "shell/testausgabe.h"

Werkzeugsuche_t::Werkzeugsuche_t(int hashMb) : optionen_(OPTIONEN_NORMAL), suche_(std::make_unique<Suche_t>())
{
    optionen_.setzen(OPT_HASH, hashMb);
    optionen_.setzen(OPT_OWNBOOK, 0);
    optionen_.setzen(OPT_PROZESSOREN, 1);
}

Werkzeugsuche_t::~Werkzeugsuche_t() = default;

Suchergebnis_t Werkzeugsuche_t::suchen(const Stellung_t& st, const GoParameter_t& go)
{
    Suchgrenzen_t grenzen;
    grenzen.fuellen(go, false);
    TestAusgabe_t ergebnis;
    // Table and history tables forgotten: the result is the same whatever
    // the worker searched before.
    suche_->neuesSpiel();
    suche_->starten(st, optionen_, Sucher_t::FLAG_SYNCHRON, grenzen, ergebnis);
    return Suchergebnis_t{Zug(ergebnis.besterZug & 0xFFFF), ergebnis.letzterWert};
}

int Werkzeugsuche_t::ruhewert(const Stellung_t& st)
{
    return suche_->ruhewert(st, -MATT_WERT - 1, MATT_WERT + 1);
}
