// Arbitrary bytes as text to the FEN reader and to the move readers.
// Besides "no crash", it checks properties the protocol relies on:
//   - every FEN the writer produces is read back to the same FEN;
//   - every legal move, written in coordinates, reads back as that move;
//   - the SAN and coordinate readers never hand out an illegal move as
//     legal.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "chess/attacks.h"
#include "chess/fen.h"
#include "chess/notation.h"
#include "chess/spiel.h"

namespace {
[[noreturn]] void fehler(const char* was, const char* text)
{
    std::fprintf(stderr, "property violated: %s\n  input: %s\n", was, text);
    std::abort();
}

struct Stellungen {
    Stellung_t st[5];
    Stellungsdaten_t d[5];
    Stellungen()
    {
        tabellenInitialisieren();
        const char* fens[5] = {
            nullptr,
            "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
            "bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w HFhf - 2 9",
            "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1",
            "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3",
        };
        for (int i = 0; i < 5; ++i)
            if (!stellungSetzen(st[i], d[i], fens[i])) fehler("fixed position rejected", fens[i] ? fens[i] : "");
    }
};

void zuegePruefen(Stellung_t& st, const Stellungsdaten_t& d, const char* text)
{
    Zug liste[MAX_ZUEGE];
    Zug* ende = legaleZuege(st, d, liste);
    for (Zug* z = liste; z < ende; ++z) {
        char geschrieben[16];
        zugSchreiben(st, *z, geschrieben);
        Zug gelesen = koordinatenZugLesen(st, geschrieben);
        if (zugOhneSchluessel(gelesen) != zugOhneSchluessel(*z)) fehler("move does not read back", text);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse)
{
    static Stellungen feste;
    std::string text(reinterpret_cast<const char*>(daten), groesse);
    const char* t = text.c_str();

    // FEN.
    Stellung_t roh;
    fenLesen(roh, t);
    Stellung_t st;
    Stellungsdaten_t d;
    if (stellungSetzen(st, d, t)) {
        char fen[128], fen2[128];
        fenSchreiben(st, fen);
        Stellung_t st2;
        Stellungsdaten_t d2;
        if (!stellungSetzen(st2, d2, fen)) fehler("written FEN rejected", t);
        fenSchreiben(st2, fen2);
        if (std::strcmp(fen, fen2) != 0) fehler("FEN changes when read back", t);
        zuegePruefen(st, d, t);
    }

    // Moves, in positions with castling, Chess960 castling, promotions and
    // en passant.
    for (int i = 0; i < 5; ++i) {
        char vorher[128], nachher[128];
        fenSchreiben(feste.st[i], vorher);
        Stellung_t kopie = feste.st[i];
        Zug z = sanZugLesen(kopie, feste.d[i], t);
        if (istZug(z) && !zugLegal(kopie, feste.d[i], z)) fehler("SAN reader returned an illegal move", t);
        z = koordinatenZugLesen(kopie, t);
        if (istZug(z)) zugLegal(kopie, feste.d[i], z);
        fenSchreiben(kopie, nachher);
        if (std::strcmp(vorher, nachher) != 0) fehler("reader changed the position", t);
    }
    return 0;
}
