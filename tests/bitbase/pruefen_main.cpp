// velkaris_bitbase_check DIR MATERIAL...: every legal position of each
// material (both sides to move, both colour orders) probed in the
// bitbases of DIR and compared with the independent solver. `make
// bitbase-check` runs it on the four-piece sets.
#include <chrono>
#include <cstdio>

#include "bitbase/cache.h"
#include "bitbase/material.h"
#include "chess/attacks.h"
#include "orakel.h"
#include "vergleich.h"

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: velkaris_bitbase_check DIR MATERIAL...\n");
        return 2;
    }
    tabellenInitialisieren();
    BitbaseCache_t cache(100 * 1048576ull);
    cache.setPath(argv[1]);
    int rc = 0;
    for (int i = 2; i < argc; ++i) {
        BbStellung_t b;
        if (!materialLesen(argv[i], b)) { // the solver trusts its names
            std::fprintf(stderr, "%s: invalid material name\n", argv[i]);
            rc = 2;
            continue;
        }
        const auto start = std::chrono::steady_clock::now();
        const Vergleich_t v = bitbasenVergleichen(orakel::loeser(argv[i]), cache);
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("%s: %llu probes, %llu wrong, %llu unknown; won with White to move: %llu (%.1f s)\n", argv[i],
                    (unsigned long long)v.geprueft, (unsigned long long)v.falsch, (unsigned long long)v.unbekannt,
                    (unsigned long long)v.weissGewinnt, s);
        if (v.falsch || v.unbekannt) {
            std::printf("  first: %s\n", v.erstesProblem.c_str());
            rc = 1;
        }
        std::fflush(stdout);
    }
    return rc;
}
