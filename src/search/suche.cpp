#include "search/suche.h"

#include "book/buch.h"
#include "platform/clock.h"
#include "search/parallel.h"
#include "shell/suchgrenzen.h"

Suche_t::Suche_t()
{
    ttEigen_ = std::make_unique<Transpositionstabelle_t>();
    tt_ = ttEigen_.get();
    bbEigen_ = std::make_unique<BitbaseCache_t>(0);
    bb_ = bbEigen_.get();
    poolEigen_ = std::make_unique<SplitPointPool>();
    pool_ = poolEigen_.get();
    zeitnetz_ = std::make_unique<Zeitnetz_t>();
    historie_[0].leeren();
    historie_[1].leeren();
    fadenStarten();
}

Suche_t::Suche_t(Suche_t& master)
{
    helfer_ = true;
    meister_ = &master;
    tt_ = master.tt_;
    bb_ = master.bb_;
    pool_ = master.pool_;
    historie_[0].leeren();
    historie_[1].leeren();
    fadenStarten();
}

Suche_t::~Suche_t()
{
    if (helfer_) {
        // A helper sleeping on its wake semaphore is told to leave.
        terminate.store(true, std::memory_order_relaxed);
        wecken_.freigeben();
    }
    beenden();
    helferAnpassen(0);
}

void Suche_t::threadLoop()
{
    if (helfer_) helferSchleife();
    else Sucher_t::threadLoop();
}

void Suche_t::ponderHit()
{
    pondering.store(false, std::memory_order_relaxed);
    if (!besterWurzelZug_.load(std::memory_order_relaxed)) return;
    // Pondering never runs on the virtual clock, so the elapsed time is real.
    const int64_t e = jetztMs() - grenzen->start;
    if (!weiter_.load(std::memory_order_relaxed) || e >= grenzen->iterationsZeit) stopSetzen();
}
