// Locks, semaphores and events on the C++ runtime's mutex and condition
// variable.
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/event.h"
#include "platform/lock.h"
#include "platform/semaphore.h"

namespace {
struct Semaphor {
    std::mutex m;
    std::condition_variable cv;
    int zahl;
    int maximum;
};

struct Ereignis {
    std::mutex m;
    std::condition_variable cv;
    bool gesetzt = false;
};
} // namespace

Sperre_t::Sperre_t() { new (objekt_.roh) std::mutex; }
Sperre_t::~Sperre_t() { objekt_.als<std::mutex>().~mutex(); }
void Sperre_t::betreten() { objekt_.als<std::mutex>().lock(); }
void Sperre_t::verlassen() { objekt_.als<std::mutex>().unlock(); }
bool Sperre_t::versuchen() { return objekt_.als<std::mutex>().try_lock(); }

Semaphor_t::Semaphor_t(int anfang, int maximum) { new (objekt_.roh) Semaphor{{}, {}, anfang, maximum}; }
Semaphor_t::~Semaphor_t() { objekt_.als<Semaphor>().~Semaphor(); }

bool Semaphor_t::freigeben(int n)
{
    Semaphor& s = objekt_.als<Semaphor>();
    {
        std::lock_guard<std::mutex> g(s.m);
        if (s.zahl + n > s.maximum) return false;
        s.zahl += n;
    }
    if (n == 1) s.cv.notify_one();
    else s.cv.notify_all();
    return true;
}

void Semaphor_t::warten()
{
    Semaphor& s = objekt_.als<Semaphor>();
    std::unique_lock<std::mutex> g(s.m);
    s.cv.wait(g, [&s] { return s.zahl > 0; });
    --s.zahl;
}

bool Semaphor_t::wartenMs(int ms)
{
    Semaphor& s = objekt_.als<Semaphor>();
    std::unique_lock<std::mutex> g(s.m);
    if (!s.cv.wait_for(g, std::chrono::milliseconds(ms), [&s] { return s.zahl > 0; })) return false;
    --s.zahl;
    return true;
}

bool Semaphor_t::versuchen()
{
    Semaphor& s = objekt_.als<Semaphor>();
    std::lock_guard<std::mutex> g(s.m);
    if (s.zahl == 0) return false;
    --s.zahl;
    return true;
}

Ereignis_t::Ereignis_t() { new (objekt_.roh) Ereignis; }
Ereignis_t::~Ereignis_t() { objekt_.als<Ereignis>().~Ereignis(); }

void Ereignis_t::setzen()
{
    Ereignis& e = objekt_.als<Ereignis>();
    {
        std::lock_guard<std::mutex> g(e.m);
        e.gesetzt = true;
    }
    e.cv.notify_one();
}

void Ereignis_t::warten()
{
    Ereignis& e = objekt_.als<Ereignis>();
    std::unique_lock<std::mutex> g(e.m);
    e.cv.wait(g, [&e] { return e.gesetzt; });
    e.gesetzt = false;
}
