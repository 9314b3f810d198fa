// Locks, semaphores and events on the kernel's critical sections,
// semaphores and auto-reset events.
#include "platform/event.h"
#include "platform/lock.h"
#include "platform/semaphore.h"
#include "platform/windows/windows_kopf.h"

Sperre_t::Sperre_t() { InitializeCriticalSection(&objekt_.als<CRITICAL_SECTION>()); }
Sperre_t::~Sperre_t() { DeleteCriticalSection(&objekt_.als<CRITICAL_SECTION>()); }
void Sperre_t::betreten() { EnterCriticalSection(&objekt_.als<CRITICAL_SECTION>()); }
void Sperre_t::verlassen() { LeaveCriticalSection(&objekt_.als<CRITICAL_SECTION>()); }
bool Sperre_t::versuchen() { return TryEnterCriticalSection(&objekt_.als<CRITICAL_SECTION>()) != 0; }

Semaphor_t::Semaphor_t(int anfang, int maximum)
{
    objekt_.als<HANDLE>() = CreateSemaphoreA(nullptr, anfang, maximum, nullptr);
}

Semaphor_t::~Semaphor_t() { CloseHandle(objekt_.als<HANDLE>()); }

// ReleaseSemaphore itself refuses a release beyond the maximum.
bool Semaphor_t::freigeben(int n) { return ReleaseSemaphore(objekt_.als<HANDLE>(), n, nullptr) != 0; }
void Semaphor_t::warten() { WaitForSingleObject(objekt_.als<HANDLE>(), INFINITE); }

bool Semaphor_t::wartenMs(int ms)
{
    return WaitForSingleObject(objekt_.als<HANDLE>(), ms > 0 ? DWORD(ms) : 0) == WAIT_OBJECT_0;
}

bool Semaphor_t::versuchen() { return WaitForSingleObject(objekt_.als<HANDLE>(), 0) == WAIT_OBJECT_0; }

Ereignis_t::Ereignis_t() { objekt_.als<HANDLE>() = CreateEventA(nullptr, FALSE, FALSE, nullptr); }
Ereignis_t::~Ereignis_t() { CloseHandle(objekt_.als<HANDLE>()); }
void Ereignis_t::setzen() { SetEvent(objekt_.als<HANDLE>()); }
void Ereignis_t::warten() { WaitForSingleObject(objekt_.als<HANDLE>(), INFINITE); }
