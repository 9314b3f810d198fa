#include "gamefiles/arbeiterpool.h"

Arbeiterpool_t::Arbeiterpool_t(Arbeit_t arbeit) : arbeit_(std::move(arbeit))
{
    for (int i = 0; i < ANZAHL; ++i) freiStapel_[i] = i;
    for (int i = 0; i < ANZAHL; ++i) {
        starts_[i] = Start_t{this, gestartet_};
        if (faeden_[gestartet_].starten(eintrag, &starts_[i], STAPEL_BYTES)) ++gestartet_;
    }
}

Arbeiterpool_t::~Arbeiterpool_t()
{
    beenden();
}

void Arbeiterpool_t::eintrag(void* p)
{
    auto* s = static_cast<Start_t*>(p);
    s->pool->schleife(s->nummer);
}

int Arbeiterpool_t::freierSatz()
{
    frei_.warten();
    SperreHalter_t h(freiSperre_);
    return freiStapel_[--freiAnzahl_];
}

void Arbeiterpool_t::abgeben(int satz)
{
    if (gestartet_ == 0) {
        // No thread could be started: do the work here, in order.
        arbeit_(0, satz);
        {
            SperreHalter_t h(freiSperre_);
            freiStapel_[freiAnzahl_++] = satz;
        }
        frei_.freigeben();
        return;
    }
    {
        SperreHalter_t h(ringSperre_);
        ring_[(ringKopf_ + ringAnzahl_) % ANZAHL] = satz;
        ++ringAnzahl_;
    }
    gefuellt_.freigeben();
}

void Arbeiterpool_t::schleife(int nummer)
{
    for (;;) {
        gefuellt_.warten();
        int satz;
        {
            SperreHalter_t h(ringSperre_);
            // A wake-up without a record is the signal to end: beenden()
            // sends it only after every record has come back.
            if (ringAnzahl_ == 0) return;
            satz = ring_[ringKopf_];
            ringKopf_ = (ringKopf_ + 1) % ANZAHL;
            --ringAnzahl_;
        }
        arbeit_(nummer, satz);
        {
            SperreHalter_t h(freiSperre_);
            freiStapel_[freiAnzahl_++] = satz;
        }
        frei_.freigeben();
    }
}

void Arbeiterpool_t::beenden()
{
    if (beendet_) return;
    beendet_ = true;
    for (int i = 0; i < ANZAHL; ++i) frei_.warten();
    gefuellt_.freigeben(gestartet_);
    for (int i = 0; i < gestartet_; ++i) faeden_[i].warten();
    frei_.freigeben(ANZAHL);
}
