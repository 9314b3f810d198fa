// velkaris_bench weights [FILE]: prints a weights file. Without FILE the
// built-in weights (a complete file to start from); with FILE the weights
// it gives after reading, or its error (exit code 1), with the entries it
// leaves at their built-in values named on standard error.
#include <cstdio>

#include "bench/bench.h"
#include "eval/gewichte.h"

int benchGewichte(int argc, char** argv)
{
    if (argc > 1) {
        std::fprintf(stderr, "usage: velkaris_bench weights [FILE]\n");
        return 2;
    }
    Gewichte_t g = eingebauteGewichte();
    if (argc == 1) {
        const GewichteLesen_t r = gewichteDateiLesen(argv[0], g);
        if (!r.ok) {
            std::fprintf(stderr, "%s: %s\n", argv[0], r.fehler.c_str());
            return 1;
        }
        if (r.fehlendAnzahl)
            std::fprintf(stderr, "%s: %d entries not in the file keep their built-in values: %s\n", argv[0],
                         r.fehlendAnzahl, r.fehlend.c_str());
    }
    std::fputs(gewichteText(g, "# Velkaris evaluation weights: one entry per line, its name and then its values;\n"
                               "# pairs are written middlegame value, endgame value.\n")
                   .c_str(),
               stdout);
    return 0;
}
