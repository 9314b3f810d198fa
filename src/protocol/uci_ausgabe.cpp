#include "protocol/uci_ausgabe.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstring>

#include "chess/notation.h"
#include "shell/optionen.h"
#include "shell/suchgrenzen.h"

namespace {
// Appends formatted text; a line that does not fit is cut.
[[gnu::format(printf, 3, 4)]] void anhaengen(char* zeile, int groesse, const char* format, ...)
{
    int laenge = int(std::strlen(zeile));
    if (laenge >= groesse - 1) return;
    std::va_list args;
    va_start(args, format);
    std::vsnprintf(zeile + laenge, std::size_t(groesse - laenge), format, args);
    va_end(args);
}
} // namespace

void UciAusgabe_t::Fehler(const char* text, const char* detail)
{
    // The detail is the offending input; a hostile one may be very long,
    // of which the start says enough.
    char zeile[640];
    std::snprintf(zeile, sizeof zeile, "info string %.200s%.400s", text, detail ? detail : "");
    Zeile(zeile);
}

void blanksZusammenfassen(char* text)
{
    char* ziel = text;
    for (const char* p = text; *p; ++p) {
        if (*p == ' ' && ziel > text && ziel[-1] == ' ') continue;
        *ziel++ = *p;
    }
    *ziel = 0;
}

void wertAnhaengen(char* zeile, int groesse, int wert, int alpha, int beta)
{
    // Mate scores print the distance in moves (negative when the engine is
    // mated); others print centipawns, rounded away from zero.
    if (wert > 450000) anhaengen(zeile, groesse, " score mate %d", (500001 - wert) / 2);
    else if (wert < -450000) anhaengen(zeile, groesse, " score mate %d", (-500001 - wert) / 2);
    else if (wert > 1) anhaengen(zeile, groesse, " score cp %d", (wert + 9) / 10);
    else if (wert < -1) anhaengen(zeile, groesse, " score cp %d", (wert - 9) / 10);
    else anhaengen(zeile, groesse, " score cp 0");
    if (wert >= beta) anhaengen(zeile, groesse, " lowerbound");
    else if (wert <= alpha) anhaengen(zeile, groesse, " upperbound");
}

void varianteAnhaengen(char* zeile, int groesse, const Stellung_t& st, const Zug* zuege, int anzahl)
{
    int laenge = int(std::strlen(zeile));
    for (int i = 0; i < anzahl; ++i) {
        char zug[16];
        zugSchreiben(st, zuege[i], zug);
        int n = int(std::strlen(zug));
        if (laenge + 1 + n >= VARIANTE_GRENZE || laenge + 1 + n >= groesse) break;
        zeile[laenge++] = ' ';
        std::memcpy(zeile + laenge, zug, std::size_t(n) + 1);
        laenge += n;
    }
}

int64_t knotenProSekunde(int64_t knoten, int64_t zeit)
{
    if (zeit < 1) zeit = 1;
    if (knoten <= 0) return 0;
    if (zeit > INT64_MAX / 1000) return int64_t(double(knoten) * 1000.0 / double(zeit));
    int64_t ganz = knoten / zeit;
    if (ganz > INT64_MAX / 1000 - 1000) return INT64_MAX;
    return ganz * 1000 + (knoten % zeit) * 1000 / zeit;
}

UciAusgabe_t::UciAusgabe_t(const OptionEintrag_t* optionen, std::FILE* ziel) : Ausgabe_t(ziel)
{
    Zeile("id name Velkaris 2015-08-06");
    Zeile("id author Quorvane");
    optionenAuflisten(optionen, *this);
    Zeile("uciok");
}

void UciAusgabe_t::Fortschritt(int tiefe, int selTiefe, int64_t zeitMs, int64_t knoten, int hashPromille)
{
    if (IstStumm()) return;
    int64_t t = std::max<int64_t>(zeitMs, 1);
    char zeile[UCI_ZEILE];
    std::snprintf(zeile, sizeof zeile, "info depth %d seldepth %d time %16.0f nodes %16.0f nps %lld hashfull %d",
                  tiefe + 1, std::max(selTiefe, tiefe + 1), double(t), double(knoten),
                  static_cast<long long>(knotenProSekunde(knoten, t)), hashPromille);
    blanksZusammenfassen(zeile);
    Zeile(zeile);
}

void UciAusgabe_t::BesterZug(const Stellung_t& st, Zug zug, Zug ponder)
{
    if (IstStumm()) return;
    char zeile[64];
    char text[16];
    zugSchreiben(st, zug, text);
    std::snprintf(zeile, sizeof zeile, "bestmove %s", text);
    if (istZug(ponder)) {
        // The ponder move belongs to the position after the best move, but
        // its text needs only what both positions share: the castling flags
        // and the opponent's castling rook squares.
        zugSchreiben(st, ponder, text);
        anhaengen(zeile, int(sizeof zeile), " ponder %s", text);
    }
    Zeile(zeile);
}

void UciAusgabe_t::AktuellerZug(const Stellung_t& st, Zug zug, int nummer, int hashPromille)
{
    if (IstStumm()) return;
    char zeile[UCI_ZEILE];
    char text[16];
    zugSchreiben(st, zug, text);
    std::snprintf(zeile, sizeof zeile, "info currmove %s currmovenumber %d hashfull %d", text, nummer,
                  hashPromille);
    blanksZusammenfassen(zeile);
    Zeile(zeile);
}

void UciAusgabe_t::Hauptvariante(const Stellung_t& st, const Zug* zuege, int anzahl, int wert, int alpha, int beta,
                                 int tiefe, int selTiefe, int64_t zeitMs, int64_t knoten, int hashPromille,
                                 bool still)
{
    if (still || IstStumm()) return;
    int64_t t = std::max<int64_t>(zeitMs, 1);
    char zeile[UCI_ZEILE];
    std::snprintf(zeile, sizeof zeile, "info depth %d seldepth %d", tiefe + 1, std::max(selTiefe, tiefe + 1));
    wertAnhaengen(zeile, UCI_ZEILE, wert, alpha, beta);
    anhaengen(zeile, UCI_ZEILE, " time %16.0f nodes %16.0f nps %lld hashfull %d pv", double(t), double(knoten),
              static_cast<long long>(knotenProSekunde(knoten, t + 1)), hashPromille);
    varianteAnhaengen(zeile, UCI_ZEILE, st, zuege, anzahl);
    blanksZusammenfassen(zeile);
    Zeile(zeile);
}

void UciAusgabe_t::MultiPv(const Stellung_t& st, const Zug* zuege, int anzahl, int nummer, int wert, int tiefe)
{
    if (IstStumm()) return;
    char zeile[UCI_ZEILE];
    std::snprintf(zeile, sizeof zeile, "info multipv %d depth %d", nummer, tiefe + 1);
    wertAnhaengen(zeile, UCI_ZEILE, wert, wert - 1, wert + 1);
    anhaengen(zeile, UCI_ZEILE, " pv ");
    varianteAnhaengen(zeile, UCI_ZEILE, st, zuege, anzahl);
    blanksZusammenfassen(zeile);
    Zeile(zeile);
}

void UciTestausgabe_t::BesterZug(const Stellung_t&, Zug, Zug)
{
    zeitMelden(double(jetztMs() - grenzen_.start) / 1000.0);
}

void UciTestausgabe_t::zeitMelden(double sekunden)
{
    double x = std::max(0.01, sekunden);
    ++anzahl_;
    summe_ += x;
    logSumme_ += std::log(x);
    if (IstStumm()) return;
    char zeile[128];
    std::snprintf(zeile, sizeof zeile, "%3d %12.3f %12.3f %12.3f", int(anzahl_), x, summe_,
                  std::exp(logSumme_ / anzahl_));
    Zeile(zeile);
}
