// velkaris_bench: speed figures and node-count signatures, single thread.
//   velkaris_bench                 everything (perft, eval, search)
//   velkaris_bench perft           perft speed without and with a table
//   velkaris_bench perft-suite     every position of perft files (see --help)
//   velkaris_bench eval            FEN lines on stdin -> static scores
//   velkaris_bench search [--depth D] [--threads N]
//   velkaris_bench epd FILE [--ms T] [--threads N]   test-suite score
//   velkaris_bench epd-score FILE   score of a "--CSVN" output against its "bm"
//   velkaris_bench qs FILE...      quiescence values in full and narrow windows
//   velkaris_bench pgn FILE...     every game of PGN files, one line each
//   velkaris_bench book FILE       opening book load time and lookups
//   velkaris_bench weights [FILE]  the built-in evaluation weights (or a file's) as a weights file
//   velkaris_bench selfplay ...    games against itself at a node budget (bench_selbstspiel.cpp)
//   velkaris_bench testpos PARAMETER-FILE [--nodes N]   "--Testpos" with a node budget
//   velkaris_bench tune FILE... [options]   fits the evaluation's weights (bench_tune.cpp)
//   velkaris_bench bitbase DIR < fens   win/draw/loss per FEN (and the
//                  bitbase-speed, bitbase-count and bitbase-rules tools)
#include <cstdio>
#include <cstring>

#include "bench/bench.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        int rc = benchPerft(argc - 1, argv + 1);
        if (rc == 0) rc = benchSearch(argc - 1, argv + 1);
        return rc;
    }
    const char* was = argv[1];
    if (!std::strcmp(was, "perft")) return benchPerft(argc - 2, argv + 2);
    if (!std::strcmp(was, "perft-suite")) return benchPerftSuite(argc - 2, argv + 2);
    if (!std::strcmp(was, "eval")) return benchEval(argc - 2, argv + 2);
    if (!std::strcmp(was, "search")) return benchSearch(argc - 2, argv + 2);
    if (!std::strcmp(was, "epd")) return benchEpd(argc - 2, argv + 2);
    if (!std::strcmp(was, "epd-score") && argc == 3) return benchEpdWertung(argv[2]);
    if (!std::strcmp(was, "qs")) return benchQs(argc - 2, argv + 2);
    if (!std::strcmp(was, "pgn")) return benchPgn(argc - 2, argv + 2);
    if (!std::strcmp(was, "book")) return benchBuch(argc - 2, argv + 2);
    if (!std::strcmp(was, "weights")) return benchGewichte(argc - 2, argv + 2);
    if (!std::strcmp(was, "selfplay")) return benchSelbstspiel(argc - 2, argv + 2);
    if (!std::strcmp(was, "testpos")) return benchTestpos(argc - 2, argv + 2);
    if (!std::strcmp(was, "tune")) return benchTune(argc - 2, argv + 2);
    if (!std::strncmp(was, "bitbase", 7)) return benchBitbase(argc - 1, argv + 1);
    std::fprintf(stderr, "usage: velkaris_bench [perft | perft-suite FILES | eval | search [--depth D] [--threads N] | epd FILE [--ms T] | epd-score FILE | pgn FILE... | book FILE | weights [FILE] | selfplay ... | testpos PARAMS | tune FILE... | qs FILE... | bitbase DIR < fens]\n");
    return 2;
}
