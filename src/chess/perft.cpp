#include "chess/perft.h"

#include <cstdlib>

#include "platform/speicher.h"

#include "chess/zugdaten.h"
#include "chess/zuggen.h"
#include "chess/zugmachen.h"

PerftTabelle_t::PerftTabelle_t(uint64_t megabytes)
{
    uint64_t bytes = megabytes * 1048576ull;
    if (bytes > groessteTabelle()) bytes = groessteTabelle();
    uint64_t maximal = bytes / sizeof(Eintrag);
    if (maximal == 0) return;
    uint64_t n = 1;
    while (n * 2 <= maximal) n *= 2;
    tabelle_ = static_cast<Eintrag*>(std::calloc(n, sizeof(Eintrag)));
    if (tabelle_) anzahl_ = n;
}

PerftTabelle_t::~PerftTabelle_t()
{
    std::free(tabelle_);
}

bool PerftTabelle_t::holen(uint64_t key, int tiefe, uint64_t& knoten) const
{
    const Eintrag& e = tabelle_[key & (anzahl_ - 1)];
    if (e.key != key || e.tiefe != uint32_t(tiefe)) return false;
    knoten = e.knoten;
    return true;
}

void PerftTabelle_t::speichern(uint64_t key, int tiefe, uint64_t knoten)
{
    Eintrag& e = tabelle_[key & (anzahl_ - 1)];
    // A deeper result, or one at least half as large, replaces the old one.
    if (uint32_t(tiefe) > e.tiefe || knoten >= e.knoten / 2) e = {key, knoten, uint32_t(tiefe)};
}

namespace {

uint64_t perftRekursiv(PerftTabelle_t* tab, Stellung_t& st, const Stellungsdaten_t& d, int tiefe)
{
    uint64_t knoten = 0;
    if (tab && tab->holen(d.schluessel, tiefe, knoten)) return knoten;

    Zug liste[MAX_ZUEGE];
    Zug* ende = alleZuege(st, d, liste);
    Stellungsdaten_t kind;
    Zugdaten_t zd;
    if (tiefe == 1) {
        for (Zug* p = liste; p != ende; ++p) {
            if (zugMachenWennLegal(st, *p, kind, d, zd)) {
                ++knoten;
                zugZuruecknehmen(zd);
            }
        }
    } else {
        for (Zug* p = liste; p != ende; ++p) {
            // The child's table slot is fetched while its attacks are computed.
            zugMachen(st, *p, kind, d, zd);
            if (tab) tab->vorladen(kind.schluessel);
            if (angriffeNachZug(st, kind)) {
                knoten += perftRekursiv(tab, st, kind, tiefe - 1);
            }
            zugZuruecknehmen(zd);
        }
    }
    if (tab) tab->speichern(d.schluessel, tiefe, knoten);
    return knoten;
}

} // namespace

uint64_t perft(PerftTabelle_t* tabelle, Stellung_t& st, const Stellungsdaten_t& d, int tiefe)
{
    if (tiefe <= 0) return 0;
    if (tabelle && tabelle->eintraege() == 0) tabelle = nullptr;
    return perftRekursiv(tabelle, st, d, tiefe);
}
