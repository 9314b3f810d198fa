#include "search/sucher.h"

#include "chess/spiel.h"

namespace {
void fadenEintrag(void* p)
{
    static_cast<Sucher_t*>(p)->threadLoop();
}
} // namespace

Sucher_t::Sucher_t() = default;

Sucher_t::~Sucher_t()
{
    beenden();
}

bool Sucher_t::fadenStarten()
{
    if (faden.laeuft()) return true;
    return faden.starten(fadenEintrag, this, STAPEL_BYTES);
}

void Sucher_t::threadLoop()
{
    while (!terminate.load(std::memory_order_acquire)) {
        semStart.warten();
        semStarted.freigeben();
        if (terminate.load(std::memory_order_acquire)) break;
        search();
        semIdle.freigeben();
    }
}

void Sucher_t::ponderHit()
{
    pondering.store(false, std::memory_order_relaxed);
}

void Sucher_t::starten(const Stellung_t& st, Optionen_t& opt, uint32_t flags, Suchgrenzen_t& gr, Ausgabe_t& aus,
                       const Zug* anfang, const Zug* ende)
{
    const bool synchron = (flags & FLAG_SYNCHRON) != 0;
    if (!synchron) semIdle.warten();

    wurzelAnzahl = 0;
    rootMovesGiven = anfang && ende && ende > anfang;
    if (rootMovesGiven) {
        for (const Zug* z = anfang; z < ende && wurzelAnzahl < MAX_ZUEGE; ++z)
            wurzelZuege[wurzelAnzahl++] = zugOhneSchluessel(*z);
    } else {
        Stellung_t kopie = st;
        Stellungsdaten_t daten;
        datenBerechnen(kopie, daten);
        Zug liste[MAX_ZUEGE];
        Zug* e = legaleZuege(kopie, daten, liste);
        for (Zug* z = liste; z < e && wurzelAnzahl < MAX_ZUEGE; ++z)
            wurzelZuege[wurzelAnzahl++] = zugOhneSchluessel(*z);
    }

    stellung = &st;
    optionen = &opt;
    grenzen = &gr;
    ausgabe = &aus;
    stop.store(false, std::memory_order_relaxed);
    pondering.store((flags & FLAG_PONDER) != 0, std::memory_order_relaxed);
    analyse = (flags & FLAG_ANALYSE) != 0;
    debug = (flags & FLAG_DEBUG) != 0;

    if (synchron) {
        search();
        return;
    }
    // Without a thread (it could not be created, or the searcher is being
    // torn down) the search runs here, so the caller still gets its answer.
    if (terminate.load(std::memory_order_acquire) || !fadenStarten()) {
        if (!terminate.load(std::memory_order_acquire)) search();
        semIdle.freigeben();
        return;
    }
    semStart.freigeben();
    semStarted.warten();
}

void Sucher_t::beenden()
{
    if (beendet_) return;
    beendet_ = true;
    stop.store(true, std::memory_order_relaxed);
    pondering.store(false, std::memory_order_relaxed);
    terminate.store(true, std::memory_order_release);
    semStart.freigeben();
    semIdle.warten();
    faden.warten();
    semIdle.freigeben();
}
