#pragma once
#include "platform/systemobjekt.h"

// Auto-reset event: setzen() wakes exactly one waiter (or the next one to
// arrive), after which the event is reset again.
class Ereignis_t {
public:
    Ereignis_t();
    ~Ereignis_t();
    Ereignis_t(const Ereignis_t&) = delete;
    Ereignis_t& operator=(const Ereignis_t&) = delete;

    void setzen();
    void warten();

private:
    SystemObjekt<96> objekt_;
};
