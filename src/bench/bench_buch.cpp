// velkaris_bench book FILE: how long loading an opening book takes (best of
// five loads), how many entries it has, and lookups per second from the
// positions it holds.
#include <algorithm>
#include <cstdio>

#include "bench/bench.h"
#include "book/buch.h"
#include "chess/attacks.h"
#include "chess/fen.h"
#include "platform/clock.h"

int benchBuch(int argc, char** argv)
{
    tabellenInitialisieren();
    if (argc != 1) {
        std::fprintf(stderr, "usage: velkaris_bench book FILE\n");
        return 2;
    }
    Buch_t buch;
    buch.nameSetzen(argv[0]);
    int64_t beste = -1;
    for (int i = 0; i < 5; ++i) {
        const int64_t anfang = jetztMs();
        if (!buch.load()) {
            std::fprintf(stderr, "%s: not a book (or not readable)\n", argv[0]);
            return 1;
        }
        const int64_t dauer = jetztMs() - anfang;
        beste = beste < 0 ? dauer : std::min(beste, dauer);
    }
    Stellung_t st;
    Stellungsdaten_t d;
    stellungSetzen(st, d, nullptr);
    const int64_t anfang = jetztMs();
    int treffer = 0;
    const int N = 200000;
    for (int i = 0; i < N; ++i) {
        Zug z, p;
        treffer += buch.probe(argv[0], st, z, &p);
    }
    const int64_t dauer = std::max<int64_t>(jetztMs() - anfang, 1);
    std::printf("%zu entries, load %lld ms, %lld lookups/s (start position %s)\n", buch.eintraege().size(),
                (long long)beste, (long long)(N * 1000LL / dauer), treffer ? "in the book" : "not in the book");
    return 0;
}
