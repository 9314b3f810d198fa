// velkaris_bench qs FILE...: the quiescence search of every position (FEN
// or EPD lines) with the full window and with one-point windows just above
// and just below its value. A consistent fail-soft search fails low in the
// window above (a result no higher than the value) and high in the window
// below; the counts of positions where it does not show how much the
// pruning depends on the window.
#include <algorithm>
#include <cstdio>
#include <string>

#include "bench/bench.h"
#include "files/eingabedatei.h"
#include "chess/attacks.h"
#include "chess/fen.h"
#include "eval/endspiel.h"
#include "search/suche.h"

int benchQs(int argc, char** argv)
{
    if (argc < 1) {
        std::fprintf(stderr, "usage: velkaris_bench qs [--zeigen] FILE...\n");
        return 2;
    }
    tabellenInitialisieren();
    kbkTabelleBauen();
    // "--zeigen": print every position whose narrow windows disagree by more
    // than a pawn.
    bool zeigen = false;
    if (argc > 0 && std::string(argv[0]) == "--zeigen") zeigen = true, --argc, ++argv;
    Suche_t suche;
    int gesamt = 0, ueber = 0, unter = 0, weitUeber = 0, weitUnter = 0;
    int maxUeber = 0, maxUnter = 0;
    for (int i = 0; i < argc; ++i) {
        Eingabestrom_t in(argv[i]);
        if (!in) {
            std::fprintf(stderr, "cannot open %s\n", argv[i]);
            return 2;
        }
        std::string zeile;
        while (std::getline(in, zeile)) {
            Stellung_t st;
            Stellungsdaten_t d;
            if (zeile.empty() || zeile[0] == '#' || !stellungSetzen(st, d, zeile.c_str())) continue;
            const int v = suche.ruhewert(st, -MATT_WERT - 1, MATT_WERT + 1);
            if (v <= -MATT_SCHWELLE || v >= MATT_SCHWELLE) continue;
            ++gesamt;
            const int oben = suche.ruhewert(st, v, v + 1) - v;
            const int unten = v - suche.ruhewert(st, v - 1, v);
            ueber += oben > 0;
            unter += unten > 0;
            weitUeber += oben > 1000;
            weitUnter += unten > 1000;
            maxUeber = std::max(maxUeber, oben);
            maxUnter = std::max(maxUnter, unten);
            if (zeigen && (oben > 1000 || unten > 1000))
                std::printf("%d %+d %+d %s\n", v, oben, -unten, zeile.c_str());
        }
    }
    std::printf("positions %d, higher in the window above %d (%d by more than a pawn, at most %d), lower in the "
                "window below %d (%d by more than a pawn, at most %d)\n",
                gesamt, ueber, weitUeber, maxUeber, unter, weitUnter, maxUnter);
    return 0;
}
