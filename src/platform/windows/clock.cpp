#include "platform/clock.h"

#include "platform/windows/windows_kopf.h"

int64_t jetztMs()
{
    // The performance counter is monotonic and far finer than the 16 ms
    // steps of the tick count. Its frequency is fixed while the system
    // runs; asking for it costs no more than reading a variable, and works
    // during static initialisation too.
    LARGE_INTEGER z, f;
    QueryPerformanceCounter(&z);
    QueryPerformanceFrequency(&f);
    return z.QuadPart / f.QuadPart * 1000 + z.QuadPart % f.QuadPart * 1000 / f.QuadPart;
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
