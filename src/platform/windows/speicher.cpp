#include "platform/speicher.h"

#include "platform/windows/windows_kopf.h"

uint64_t physischerSpeicher()
{
    MEMORYSTATUSEX m{};
    m.dwLength = sizeof m;
    if (!GlobalMemoryStatusEx(&m)) return 0;
    return m.ullTotalPhys;
}
