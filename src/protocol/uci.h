#pragma once
#include <climits>
#include <cstdint>
#include <memory>

#include "chess/stellung.h"
#include "chess/zug.h"
#include "shell/eingabe.h"
#include "shell/optionen.h"

class Ausgabe_t;
class Buchberechnung_t;
class Sucher_t;
class ZeitnetzTrainer_t;
struct GoParameter_t;
struct Suchgrenzen_t;

// The UCI command interpreter. It owns the game position and the option
// values and starts the searcher. Commands arrive one line at a time on one
// thread; "position", "go", "stop" and "quit" first wait until a running
// search is over, the other commands run at once. Malformed or unknown input
// is ignored without an answer (errors go to the channel's Fehler, which
// prints nothing in UCI).
class UciInterface_t : public Eingabe_t {
public:
    UciInterface_t(Sucher_t& sucher, const OptionEintrag_t* optionen, Suchgrenzen_t& grenzen, Ausgabe_t& ausgabe);
    ~UciInterface_t() override;

    void Zeile(const char* zeile) override;

    Optionen_t& optionen() { return optionen_; }
    const Stellung_t& stellung() const { return stellung_; }
    const Stellungsdaten_t& daten() const { return daten_[datenIndex_]; }
    bool debugAn() const { return debug_; }

    // True while the last search started has no end of its own: "go
    // infinite", or a ponder search not yet turned into a normal one by
    // "ponderhit". Only "stop" ends such a search.
    bool sucheOhneEnde() const { return unendlich_ || ponder_; }

    // For the fuzzing harness: caps the perft depth and the perft table, and
    // turns every "go" into a one-iteration search without pondering.
    void fuerFuzzerBegrenzen(int perftTiefe, int perftHashMb)
    {
        perftTiefeMax_ = perftTiefe;
        perftHashMax_ = perftHashMb;
        goKurz_ = true;
    }

    // Root moves of the last "go" with "searchmoves" or "excludemoves".
    const Zug* wurzelZuege() const { return wurzel_; }
    int wurzelAnzahl() const { return wurzelAnzahl_; }

private:
    void position(const char* rest);
    void datenNeuBerechnen();
    void go(const char* zeile);
    void perft(const char* rest);
    void stop();
    void quit();
    // Moves of a "position ... moves" list; stops at the first illegal one.
    void zuegeSpielen(const char* text);
    // One move token (coordinates or castling words) of the current
    // position; 0 when it is no legal move. *ende is set behind the token.
    Zug zugLesen(const char* text, const char** ende);
    void wurzelZuegeLesen(const char* zeile);
    // The "book" and "time" sub-commands.
    void setoption(const char* zeile);
    void buch(const char* zeile);
    void zeit(const char* zeile);

    Ausgabe_t& ausgabe_;
    Optionen_t optionen_;
    Suchgrenzen_t& grenzen_;
    Stellung_t stellung_;
    Stellungsdaten_t daten_[2];
    int datenIndex_ = 0;
    Zug wurzel_[MAX_ZUEGE];
    int wurzelAnzahl_ = 0;
    Sucher_t& sucher_;
    bool debug_ = false;

    bool unendlich_ = false;
    bool ponder_ = false;
    int perftTiefeMax_ = INT_MAX;
    int perftHashMax_ = 32000;
    bool goKurz_ = false;
    // The statistics of the "book" commands, made by the first that fills them.
    std::unique_ptr<Buchberechnung_t> buchberechnung_;
    // The time-network trainer of the "time" commands, made on first use.
    std::unique_ptr<ZeitnetzTrainer_t> zeitTrainer_;
};
