#pragma once
#include <cstdint>
#include <cstdio>

#include "shell/ausgabe.h"

struct OptionEintrag_t;
struct Suchgrenzen_t;

// Line buffers of the channels; a variation is cut before the line reaches
// VARIANTE_GRENZE characters.
constexpr int UCI_ZEILE = 1200;
constexpr int VARIANTE_GRENZE = 1000;

// The UCI channel. Its construction answers "uci": identification, the
// visible options and "uciok".
class UciAusgabe_t : public Ausgabe_t {
public:
    explicit UciAusgabe_t(const OptionEintrag_t* optionen, std::FILE* ziel = nullptr);

    // A refused command as one "info string" line (text, then the detail):
    // interfaces show these lines to their user.
    void Fehler(const char* text, const char* detail) override;
    void Fehler2(const char*, const char*) override {}
    void Fortschritt(int tiefe, int selTiefe, int64_t zeitMs, int64_t knoten, int hashPromille) override;
    void BesterZug(const Stellung_t& st, Zug zug, Zug ponder) override;
    void AktuellerZug(const Stellung_t& st, Zug zug, int nummer, int hashPromille) override;
    void Hauptvariante(const Stellung_t& st, const Zug* zuege, int anzahl, int wert, int alpha, int beta, int tiefe,
                       int selTiefe, int64_t zeitMs, int64_t knoten, int hashPromille, bool still) override;
    void MultiPv(const Stellung_t& st, const Zug* zuege, int anzahl, int nummer, int wert, int tiefe) override;
};

// "ucitest": one timing line per search and nothing else. The time of a
// search runs from the start recorded in the limits record.
class UciTestausgabe_t : public Ausgabe_t {
public:
    explicit UciTestausgabe_t(const Suchgrenzen_t& grenzen, std::FILE* ziel = nullptr)
        : Ausgabe_t(ziel), grenzen_(grenzen)
    {
    }

    void Fehler(const char*, const char*) override {}
    void Fehler2(const char*, const char*) override {}
    void Fortschritt(int, int, int64_t, int64_t, int) override {}
    void BesterZug(const Stellung_t& st, Zug zug, Zug ponder) override;
    void AktuellerZug(const Stellung_t&, Zug, int, int) override {}
    void Hauptvariante(const Stellung_t&, const Zug*, int, int, int, int, int, int, int64_t, int64_t, int,
                       bool) override
    {
    }
    void MultiPv(const Stellung_t&, const Zug*, int, int, int, int) override {}

    // Prints the timing line for a search that took the given seconds.
    void zeitMelden(double sekunden);

private:
    uint32_t anzahl_ = 0;
    double summe_ = 0;
    double logSumme_ = 0;
    const Suchgrenzen_t& grenzen_;
};

// Helpers of the line formats (exposed for the tests).

// Appends " score cp N" or " score mate N" and a bound word when the score
// lies on or outside the window [alpha, beta].
void wertAnhaengen(char* zeile, int groesse, int wert, int alpha, int beta);

// Collapses every run of blanks into one blank, in place.
void blanksZusammenfassen(char* text);

// Appends " move" for each move while the line stays below VARIANTE_GRENZE
// characters.
void varianteAnhaengen(char* zeile, int groesse, const Stellung_t& st, const Zug* zuege, int anzahl);

// knoten * 1000 / zeit without overflow (zeit at least 1).
int64_t knotenProSekunde(int64_t knoten, int64_t zeit);
