#include "platform/speicher.h"

#include <unistd.h>

uint64_t physischerSpeicher()
{
    const long seiten = sysconf(_SC_PHYS_PAGES);
    const long groesse = sysconf(_SC_PAGE_SIZE);
    if (seiten <= 0 || groesse <= 0) return 0;
    return uint64_t(seiten) * uint64_t(groesse);
}
