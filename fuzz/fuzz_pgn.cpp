// Arbitrary bytes as a PGN file, read game after game (going on after
// errors as the benchmark does). Besides "no crash and no endless loop", it
// checks that every game read replays legally from its start position to
// the position the reader ended on.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "chess/attacks.h"
#include "chess/fen.h"
#include "chess/spiel.h"
#include "gamefiles/pgn_leser.h"

namespace {
[[noreturn]] void fehler(const char* was)
{
    std::fprintf(stderr, "property violated: %s\n", was);
    std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse)
{
    static bool bereit = (tabellenInitialisieren(), true);
    (void)bereit;
    PgnLeser_t pgn;
    pgn.fehlerZiel(nullptr);
    pgn.oeffnen(std::make_unique<std::istringstream>(std::string(reinterpret_cast<const char*>(daten), groesse)),
                "fuzz.pgn");
    std::vector<Zug> zuege;
    PgnTags_t tags;
    // Every round reads at least one character, so this bounds the loop.
    for (size_t runde = 0; runde <= groesse + 1; ++runde) {
        if (!pgn.partieLesen(zuege, tags)) {
            if (pgn.ok() || !pgn.weiterNachFehler()) return 0;
            continue;
        }
        Stellung_t st = pgn.start();
        Stellungsdaten_t d[2];
        datenBerechnen(st, d[0]);
        int i = 0;
        for (Zug z : zuege) {
            if (!zugLegal(st, d[i], z) || !zugSpielen(st, z, d[i ^ 1], d[i])) fehler("illegal move in a game read");
            i ^= 1;
        }
        char a[128], b[128];
        fenSchreiben(st, a);
        fenSchreiben(pgn.stellung(), b);
        if (std::string(a) != b) fehler("replay ends elsewhere");
    }
    fehler("no progress");
}
