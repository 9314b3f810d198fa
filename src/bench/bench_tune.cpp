// velkaris_bench tune FILE... [options]: fits the evaluation's weights to
// positions with game results (bench/tuner.h) and writes a weights file.
//   --out FILE          the weights file written [tuned.eval]
//   --start FILE        start from these weights [built in]
//   --threads T         [2]
//   --passes N          at most so many passes [1000]
//   --recompute N       passes between recomputations of the quiet positions [20]
//   --patience N        stop after so many passes without a better held-back error [30]
//   --rate R            Adam step in weight units [2]
//   --referee L         blend the second column's score into the target with weight L [0]
//   --l2 L              pull towards the starting weights [0]
//   --min-active N      weights in play in fewer training positions stay [500]
//   --max-positions N   read at most so many positions [all]
//   --fix PREFIX        entries whose names begin so stay (repeatable)
//   --only PREFIX       only entries whose names begin so move (repeatable)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/bench.h"
#include "bench/tuner.h"

int benchTune(int argc, char** argv)
{
    TunerEinstellung_t e;
    e.ausgabe = "tuned.eval";
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.rfind("--", 0) != 0) {
            e.dateien.push_back(a);
            continue;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "tune: %s needs a value\n", a.c_str());
            return 2;
        }
        const char* wert = argv[++i];
        if (a == "--out") e.ausgabe = wert;
        else if (a == "--start") e.start = wert;
        else if (a == "--threads") e.faeden = std::atoi(wert);
        else if (a == "--passes") e.maxDurchgaenge = std::atoi(wert);
        else if (a == "--recompute") e.auffrischen = std::max(1, std::atoi(wert));
        else if (a == "--patience") e.geduld = std::max(1, std::atoi(wert));
        else if (a == "--rate") e.lernrate = std::atof(wert);
        else if (a == "--referee") e.schiedsrichter = std::atof(wert);
        else if (a == "--l2") e.l2 = std::atof(wert);
        else if (a == "--min-active") e.minAktiv = std::atol(wert);
        else if (a == "--max-positions") e.maxStellungen = std::atol(wert);
        else if (a == "--fix") e.fest.push_back(wert);
        else if (a == "--only") e.nur.push_back(wert);
        else {
            std::fprintf(stderr, "tune: unknown option %s\n", a.c_str());
            return 2;
        }
    }
    if (e.dateien.empty()) {
        std::fprintf(stderr, "usage: velkaris_bench tune FILE... [--out FILE] [--start FILE] [--threads T] [--passes N] "
                             "[--recompute N] [--patience N] [--rate R] [--referee L] [--l2 L] [--min-active N] "
                             "[--max-positions N] [--fix PREFIX] [--only PREFIX]\n");
        return 2;
    }
    return tunen(e);
}
