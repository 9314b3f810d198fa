// Arbitrary bytes as a weights file: the text is taken whole or refused
// whole (then the built-in weights stand); weights taken lie within their
// entries' bounds and survive writing and reading again; and the
// evaluation under them (with the sanitizers watching for overflow) scores
// positions from the opening to lopsided endings.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "chess/attacks.h"
#include "chess/fen.h"
#include "eval/bewertungstabellen.h"
#include "eval/gewichte.h"
#include "eval/statisch.h"

namespace {
const char* const STELLUNGEN[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ - 0 9",
    "6k1/5ppp/8/8/8/7q/P3r3/6K1 w - - 0 1",
    "7k/8/8/8/8/8/QQQQQ3/QQQQK3 b - - 0 1",
    "qqqqk3/qqqqq3/8/8/8/8/8/7K w - - 0 1",
    "nnnnnnnn/nn6/8/8/8/4K3/8/4k3 b - - 0 1",
    "rnbqkbnr/pppppppp/8/8/8/8/QQQQQ3/QQQQK3 w kq - 0 1",
    "8/4k3/3p4/8/8/4P3/3K4/2B2b2 w - - 0 1",
    "7k/8/8/8/P7/8/8/7K w - - 0 1",
    "4k3/pp6/8/8/8/8/8/2B1K1N1 b - - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse)
{
    static const bool bereit = (tabellenInitialisieren(), true);
    (void)bereit;
    Gewichte_t g;
    const GewichteLesen_t r = gewichteLesen(reinterpret_cast<const char*>(daten), groesse, g);
    if (!r.ok) {
        if (!(g == eingebauteGewichte()) || r.fehler.empty()) std::abort();
        return 0;
    }
    for (int e = 0; e < G_ANZAHL; ++e)
        for (int i = 0; i < gewichtBreite(GEWICHT_EINTRAEGE[e]); ++i) {
            const int32_t v = g.von(Gewicht_t(e))[i];
            if (v < GEWICHT_EINTRAEGE[e].minimum || v > GEWICHT_EINTRAEGE[e].maximum) std::abort();
        }
    const std::string text = gewichteText(g, nullptr);
    Gewichte_t zurueck;
    if (!gewichteLesen(text.data(), text.size(), zurueck).ok || !(zurueck == g)) std::abort();

    gewichteSetzen(g);
    auto mt = std::make_unique<MaterialTable>();
    auto pt = std::make_unique<PawnTable>();
    for (const char* fen : STELLUNGEN) {
        Stellung_t st;
        Stellungsdaten_t d;
        if (stellungSetzen(st, d, fen)) statischeBewertung(st, d, *mt, *pt);
    }
    gewichteSetzen(eingebauteGewichte());
    return 0;
}
