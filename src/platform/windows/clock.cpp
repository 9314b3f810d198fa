#include "platform/clock.h"

#include "platform/windows/windows_kopf.h"

namespace {
// Ticks per second of the performance counter; fixed while the system runs.
int64_t zaehlerFrequenz()
{
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
}

const int64_t FREQUENZ = zaehlerFrequenz();
} // namespace

int64_t jetztMs()
{
    // The performance counter is monotonic and far finer than the 16 ms
    // steps of the tick count.
    LARGE_INTEGER z;
    QueryPerformanceCounter(&z);
    return z.QuadPart / FREQUENZ * 1000 + z.QuadPart % FREQUENZ * 1000 / FREQUENZ;
}

uint32_t kalenderSekunden()
{
    // 100-ns units since 1601; the calendar seconds count from 1970.
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    const uint64_t t = uint64_t(ft.dwHighDateTime) << 32 | ft.dwLowDateTime;
    return static_cast<uint32_t>(t / 10000000 - 11644473600ULL);
}

void schlafeMs(int ms)
{
    Sleep(ms > 0 ? DWORD(ms) : 0);
}
