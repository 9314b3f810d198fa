// velkaris_bench pgn FILE...: reads every game of the files with the PGN
// reader and prints one line per game, "PLIES RESULT FEN" (half-moves
// replayed, result code 0 White won, 1 Black won, 2 draw, 3 other, and the
// final position), and the reader's line for every error, after which it
// goes on with the next game. A summary goes to standard error.
#include <cstdio>
#include <vector>

#include "bench/bench.h"
#include "chess/attacks.h"
#include "chess/fen.h"
#include "gamefiles/pgn_leser.h"

int benchPgn(int argc, char** argv)
{
    tabellenInitialisieren();
    if (argc < 1) {
        std::fprintf(stderr, "usage: velkaris_bench pgn FILE...\n");
        return 2;
    }
    long partienGesamt = 0, fehlerGesamt = 0;
    for (int i = 0; i < argc; ++i) {
        PgnLeser_t pgn;
        pgn.fehlerZiel(stdout);
        if (!pgn.oeffnen(argv[i])) {
            ++fehlerGesamt;
            continue;
        }
        long partien = 0, fehler = 0, zuege = 0;
        std::vector<Zug> liste;
        int ergebnis = 0;
        for (;;) {
            if (pgn.gefiltertLesen(liste, nullptr, &ergebnis, nullptr, nullptr, nullptr)) {
                char fen[128];
                fenSchreiben(pgn.stellung(), fen);
                std::printf("%zu %d %s\n", liste.size(), ergebnis, fen);
                ++partien;
                zuege += long(liste.size());
                continue;
            }
            if (pgn.ok()) break;
            ++fehler;
            if (!pgn.weiterNachFehler()) break;
        }
        std::fprintf(stderr, "%s: %ld games, %ld plies, %ld errors\n", argv[i], partien, zuege, fehler);
        partienGesamt += partien;
        fehlerGesamt += fehler;
    }
    std::fflush(stdout);
    if (argc > 1) std::fprintf(stderr, "total: %ld games, %ld errors\n", partienGesamt, fehlerGesamt);
    return fehlerGesamt ? 1 : 0;
}
