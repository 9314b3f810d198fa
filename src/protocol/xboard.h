#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "chess/stellung.h"
#include "chess/zug.h"
#include "platform/lock.h"
#include "protocol/xboard_queue.h"
#include "protocol/xboard_zeit.h"
#include "shell/eingabe.h"

class Optionen_t;
class XBoardAusgabe_t;

// The XBoard (protocol 2) interpreter. It keeps its own copy of the game
// (the base position, every move as a 6-character text, a board to check
// moves and see the game's end, the clock and the time control) and turns
// each XBoard command into UCI commands for the inner UCI interpreter, sent
// through the queue so that the main thread never waits for the search.
// After each engine move it offers draws, claims results, resigns and starts
// pondering on the expected reply.
//
// Threads: every command runs on the main thread under the interpreter's
// lock; the engine's move arrives on the search thread (through the
// channel) and takes the same lock, so the game never changes from two
// sides at once. The lock is left while the main thread waits for the queue
// (a free slot, or the end of the work at "quit"), because the worker may
// be waiting for a search that needs the lock to report its move.
class XBoardInterface_t : public Eingabe_t {
public:
    XBoardInterface_t(Eingabe_t& uci, const Optionen_t& optionen, XBoardAusgabe_t& ausgabe);
    ~XBoardInterface_t() override;
    XBoardInterface_t(const XBoardInterface_t&) = delete;
    XBoardInterface_t& operator=(const XBoardInterface_t&) = delete;

    void Zeile(const char* zeile) override;

    // The engine's move from the search thread, with the position searched;
    // a move found for another position than the game's is dropped.
    void zugDerEngine(const Stellung_t& st, Zug zug, Zug ponder);

    // Waits until the worker has executed every queued entry (tests).
    void warteBisAbgearbeitet();

    // Longest move record: more plies than any game under the fifty-move
    // rule can have, and short enough for the queue's largest slot.
    static constexpr std::size_t ZUEGE_MAX = 72000;
    static constexpr std::size_t ZUG_BREITE = 6;

private:
    using Befehl = void (XBoardInterface_t::*)(const char* rest, const char* befehl);
    struct Eintrag {
        const char* wort;
        Befehl aktion;
    };
    static const Eintrag BEFEHLE[];

    // Queue helpers: send (a UCI command), say (a line), an error with the
    // command as detail. They wait for a free slot when the queue is full.
    void senden(const std::string& uci);
    void sagen(const std::string& zeile);
    void fehler(const char* text, const char* befehl);
    // Reads the command's whole number; a bad one is answered with
    // "bad parameters" and gives false.
    template <class T> bool zahlLesen(const char* rest, const char* befehl, T& wert);
    // "quit" and its kin: the worker executes everything, then nothing more
    // is accepted.
    void beenden(std::unique_lock<Sperre_t>& halter);

    // The commands.
    void protover(const char* rest, const char* befehl);
    void ignorieren(const char*, const char*) {}
    void neu(const char* rest, const char* befehl);
    void variante(const char* rest, const char* befehl);
    void force(const char* rest, const char* befehl);
    void go(const char* rest, const char* befehl);
    void playother(const char* rest, const char* befehl);
    void level(const char* rest, const char* befehl);
    void st(const char* rest, const char* befehl);
    void sd(const char* rest, const char* befehl);
    void zeit(const char* rest, const char* befehl);
    void usermove(const char* rest, const char* befehl);
    void sofort(const char* rest, const char* befehl);
    void ping(const char* rest, const char* befehl);
    void remis(const char* rest, const char* befehl);
    void ergebnis(const char* rest, const char* befehl);
    void setboard(const char* rest, const char* befehl);
    void hint(const char* rest, const char* befehl);
    void bk(const char* rest, const char* befehl);
    void undo(const char* rest, const char* befehl);
    void remove(const char* rest, const char* befehl);
    void hard(const char* rest, const char* befehl);
    void easy(const char* rest, const char* befehl);
    void post(const char* rest, const char* befehl);
    void nopost(const char* rest, const char* befehl);
    void analyze(const char* rest, const char* befehl);
    void name(const char* rest, const char* befehl);
    void exit(const char* rest, const char* befehl);
    void status(const char* rest, const char* befehl);
    void memory(const char* rest, const char* befehl);
    void cores(const char* rest, const char* befehl);

    // The game.
    void grundZustand();
    const Stellungsdaten_t& daten() const { return daten_[datenIndex_]; }
    // A move text of the board: coordinates or castling words, else SAN;
    // 0 when it is no legal move.
    Zug zugLesen(const char* text);
    // Makes a legal move on the board and appends its text to the record.
    void zugAnhaengen(Zug z);
    void brettNeuAufbauen();
    int anzahlZuege() const { return int(zuege_.size() / ZUG_BREITE); }
    bool platzFuerZug() const { return zuege_.size() + 2 * ZUG_BREITE <= ZUEGE_MAX; }
    // Prints the result when the game is over after the last move: through
    // the queue on the main thread, directly on the search thread.
    bool spielEnde(bool direkt);
    void historieLoeschen();

    // Searches.
    void sucheStoppen();
    std::string positionsBefehl(const char* ponderZug) const;
    std::string goBefehl(bool ponder) const;
    // Starts the search for the engine's move, or with a ponder move the
    // search on the position after it.
    void denkenStarten();
    bool pondernStarten(Zug ponder);
    void analyseStarten();
    void analyseBeenden();
    void pongsSagen(bool direkt);

    // The engine's move for the position with this key, under the lock.
    void zugVerarbeiten(uint64_t schluessel, Zug zug, Zug ponder);
    // The command itself, under the lock (Zeile adds the rest).
    void befehlAusfuehren(const char* wort, const char* rest, const char* befehl);

    // After the engine's move (search thread, under the lock).
    void remisAngebotPruefen();
    bool aufgebenPruefen();

    Sperre_t sperre_;
    const Optionen_t& optionen_;
    XBoardAusgabe_t& ausgabe_;
    // Ended first when the interpreter goes: its last entries may still
    // need the game.
    std::unique_ptr<XboardUciQueue_t> queue_;

    Stellung_t brett_;
    Stellungsdaten_t daten_[2];
    int datenIndex_ = 0;
    Zug erwartet_ = 0;
    std::string basis_;
    std::string zuege_;

    Zeitkontrolle_t tk_;
    int64_t uhr_ = 0;
    int64_t uhrStart_ = 0;
    int64_t st_ = -1;
    int32_t sd_ = -1;

    bool force_ = false;
    bool analysiert_ = false;
    bool ponderErlaubt_ = false;
    bool pondertJetzt_ = false;
    bool denkt_ = false;
    bool chess960_ = false;
    bool beendet_ = false;
    // OwnBook was on when the analysis began; it is switched on again after.
    bool buchPausiert_ = false;
    // A command is under way. It may leave the lock while it waits for a
    // slot of the queue; an engine move that arrives meanwhile must not
    // change the game under its feet, so it is kept here and handled when
    // the command is done.
    bool imBefehl_ = false;
    struct Aufgeschoben {
        bool da = false;
        uint64_t schluessel = 0;
        Zug zug = 0, ponder = 0;
    } aufgeschoben_;

    // Answers to "ping" held back until the engine's move is out.
    static constexpr int PONGS = 4;
    char pongs_[PONGS][30] = {};
    int pongAnzahl_ = 0;

    int32_t version_ = 1;
    int32_t werte_[4] = {};
    int werteAnzahl_ = 0;
    int32_t zuegeSeitAngebot_ = 0;
    bool gegnerBietet_ = false;
    bool engineWeiss_ = false;
};
