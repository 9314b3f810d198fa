#include "platform/thread.h"

#include <process.h>

#include "platform/windows/windows_kopf.h"

namespace {
struct StartDaten {
    Faden_t::Eintrag eintrag;
    void* argument;
};

unsigned __stdcall fadenStart(void* p)
{
    StartDaten d = *static_cast<StartDaten*>(p);
    delete static_cast<StartDaten*>(p);
    d.eintrag(d.argument);
    return 0;
}
} // namespace

Faden_t::~Faden_t()
{
    warten();
}

bool Faden_t::starten(Eintrag eintrag, void* argument, std::size_t stapelBytes)
{
    if (gestartet_) return false;
    auto* d = new StartDaten{eintrag, argument};
    // Through the runtime library, so the thread may use it; the size is
    // the stack's reserve, committed as the thread needs it.
    const uintptr_t h = _beginthreadex(nullptr, unsigned(stapelBytes), fadenStart, d,
                                       STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (h == 0) {
        delete d;
        return false;
    }
    handle_ = h;
    gestartet_ = true;
    return true;
}

void Faden_t::warten()
{
    if (!gestartet_) return;
    HANDLE h = reinterpret_cast<HANDLE>(handle_);
    WaitForSingleObject(h, INFINITE);
    CloseHandle(h);
    gestartet_ = false;
}
