#include <cstdio>

#include "bench/bench.h"

int benchSearch(int, char**)
{
    std::fprintf(stderr, "search: not built yet\n");
    return 0;
}
