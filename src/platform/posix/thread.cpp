#include "platform/thread.h"

#include <pthread.h>

namespace {
struct StartDaten {
    Faden_t::Eintrag eintrag;
    void* argument;
};

void* fadenStart(void* p)
{
    StartDaten d = *static_cast<StartDaten*>(p);
    delete static_cast<StartDaten*>(p);
    d.eintrag(d.argument);
    return nullptr;
}
} // namespace

Faden_t::~Faden_t()
{
    warten();
}

bool Faden_t::starten(Eintrag eintrag, void* argument, std::size_t stapelBytes)
{
    if (gestartet_) return false;
    pthread_attr_t attr;
    if (pthread_attr_init(&attr) != 0) return false;
    if (stapelBytes < std::size_t(PTHREAD_STACK_MIN)) stapelBytes = std::size_t(PTHREAD_STACK_MIN);
    pthread_attr_setstacksize(&attr, stapelBytes);
    auto* d = new StartDaten{eintrag, argument};
    pthread_t t;
    int rc = pthread_create(&t, &attr, fadenStart, d);
    pthread_attr_destroy(&attr);
    if (rc != 0) {
        delete d;
        return false;
    }
    static_assert(sizeof(pthread_t) <= sizeof(handle_));
    handle_ = static_cast<std::uintptr_t>(t);
    gestartet_ = true;
    return true;
}

void Faden_t::warten()
{
    if (!gestartet_) return;
    pthread_join(static_cast<pthread_t>(handle_), nullptr);
    gestartet_ = false;
}
