#include "protocol/xboard_queue.h"

#include <cstring>

#include "shell/ausgabe.h"
#include "shell/eingabe.h"

std::size_t XboardUciQueue_t::kapazitaet(int slot)
{
    return slot < 3 ? GROSS : slot < 6 ? MITTEL : KLEIN;
}

int XboardUciQueue_t::slotFuer(std::size_t groesse)
{
    for (int i = SLOTS - 1; i >= 0; --i)
        if (kapazitaet(i) >= groesse) return i;
    return -1;
}

XboardUciQueue_t::XboardUciQueue_t(Eingabe_t& ziel, Ausgabe_t& ausgabe) : ziel_(ziel), ausgabe_(ausgabe)
{
    for (int i = 0; i < SLOTS; ++i) {
        slots_[i].kapazitaet = kapazitaet(i);
        slots_[i].puffer = std::make_unique<char[]>(slots_[i].kapazitaet);
    }
    // Without a worker (the thread could not be created) every entry is
    // executed by the caller instead.
    faden_.starten(fadenEintrag, this, STAPEL_BYTES);
}

XboardUciQueue_t::~XboardUciQueue_t()
{
    {
        SperreHalter_t h(sperre_);
        stop_ = true;
    }
    wecken_.setzen();
    faden_.warten();
}

void XboardUciQueue_t::fadenEintrag(void* p)
{
    static_cast<XboardUciQueue_t*>(p)->arbeiten();
}

int XboardUciQueue_t::freierSlot(std::size_t groesse, int ausser) const
{
    for (int i = SLOTS - 1; i >= 0; --i)
        if (i != ausser && !slots_[i].belegt && slots_[i].kapazitaet >= groesse) return i;
    return -1;
}

bool XboardUciQueue_t::platzFuer(std::size_t groesse1, std::size_t groesse2)
{
    SperreHalter_t h(sperre_);
    if (stop_) return false;
    const int a = freierSlot(groesse1);
    return a >= 0 && (groesse2 == 0 || freierSlot(groesse2, a) >= 0);
}

bool XboardUciQueue_t::fertig()
{
    SperreHalter_t h(sperre_);
    return belegt_ == 0;
}

void XboardUciQueue_t::warteBisFertig()
{
    while (!fertig()) frei_.warten();
}

bool XboardUciQueue_t::einreihen(const char* text, Art art, const char* detail, Sperre_t* halteSperre)
{
    const std::size_t a = std::strlen(text);
    const std::size_t b = detail ? std::strlen(detail) : 0;
    const std::size_t groesse = a + b + 2;
    if (slotFuer(groesse) < 0) return false;

    if (!faden_.laeuft()) {
        Slot s;
        s.art = art;
        s.kapazitaet = groesse;
        s.puffer = std::make_unique<char[]>(groesse);
        std::memcpy(s.puffer.get(), text, a + 1);
        std::memcpy(s.puffer.get() + a + 1, detail ? detail : "", b + 1);
        if (halteSperre) halteSperre->verlassen();
        ausfuehren(s);
        if (halteSperre) halteSperre->betreten();
        return true;
    }

    for (;;) {
        {
            SperreHalter_t h(sperre_);
            if (stop_) return false;
            const int i = freierSlot(groesse);
            if (i >= 0) {
                Slot& s = slots_[i];
                s.belegt = true;
                s.art = art;
                std::memcpy(s.puffer.get(), text, a + 1);
                std::memcpy(s.puffer.get() + a + 1, detail ? detail : "", b + 1);
                ring_[schreiben_ % SLOTS] = &s;
                ++schreiben_;
                ++belegt_;
                break;
            }
        }
        if (!halteSperre) return false;
        // Every slot is taken: wait for the worker to free one. The caller's
        // lock is left meanwhile, so that a search the worker waits for can
        // report its move.
        wartend_.store(true, std::memory_order_relaxed);
        halteSperre->verlassen();
        frei_.warten();
        halteSperre->betreten();
        wartend_.store(false, std::memory_order_relaxed);
    }
    wecken_.setzen();
    return true;
}

void XboardUciQueue_t::ausfuehren(const Slot& s)
{
    const char* text = s.puffer.get();
    const char* detail = text + std::strlen(text) + 1;
    switch (s.art) {
    case UCI: ziel_.Zeile(text); break;
    case ZEILE: ausgabe_.Zeile(text); break;
    default: ausgabe_.Fehler(text, *detail ? detail : nullptr); break;
    }
}

void XboardUciQueue_t::arbeiten()
{
    for (;;) {
        wecken_.warten();
        for (;;) {
            Slot* s;
            {
                SperreHalter_t h(sperre_);
                if (lesen_ == schreiben_) {
                    if (stop_) return;
                    break;
                }
                s = ring_[lesen_ % SLOTS];
                ++lesen_;
            }
            ausfuehren(*s);
            {
                SperreHalter_t h(sperre_);
                s->belegt = false;
                --belegt_;
            }
            frei_.setzen();
        }
    }
}
