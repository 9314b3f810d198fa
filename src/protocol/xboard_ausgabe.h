#pragma once
#include <atomic>
#include <cstdint>
#include <cstdio>

#include "platform/lock.h"
#include "shell/ausgabe.h"

class Optionen_t;
class XBoardInterface_t;
struct Suchgrenzen_t;

// Engine score (1,000 per pawn, mate at ply p = 500,000 - p) in the unit of
// XBoard's thinking output: centipawns, rounded away from zero, and mate in
// p plies as 32767 - p.
int xboardWert(int wert);

// A move as XBoard reads it: coordinates, and castling as O-O / O-O-O in
// Chess960 (rochadeWorte, or a position whose castling set-up is not the
// standard one), where a king move to g1 could mean either. The buffer
// needs at least 6 bytes.
void xboardZugSchreiben(const Stellung_t& st, Zug z, bool rochadeWorte, char* puffer);

// The output channel in XBoard mode: thinking lines in XBoard's form, errors
// as "Error (text): detail", and the engine's move, which it hands to the
// XBoard interpreter so the game record follows the engine's play.
//
// Threads: the search thread calls the reporting operations; the XBoard
// interpreter (main thread) sets the state of each search and reads the
// hint and the status; the queue's worker prints lines and errors. Numbers
// are atomics, texts sit under the channel's own small lock.
class XBoardAusgabe_t : public Ausgabe_t {
public:
    explicit XBoardAusgabe_t(const Suchgrenzen_t& grenzen, std::FILE* ziel = nullptr);

    // Silent once the engine shuts down, and while the option NoOutput is
    // true (the interpreter sets it around a "stop" whose result nobody
    // wants).
    bool IstStumm() const override;
    void Fehler(const char* text, const char* detail) override;
    void Fehler2(const char* text, const char* detail) override { Fehler(text, detail); }
    // "Error (text): detail".
    void Zustand(const char* text, const std::string& detail) override { Fehler(text, detail.c_str()); }
    void Fortschritt(int tiefe, int selTiefe, int64_t zeitMs, int64_t knoten, int hashPromille) override;
    void BesterZug(const Stellung_t& st, Zug zug, Zug ponder) override;
    void AktuellerZug(const Stellung_t& st, Zug zug, int nummer, int hashPromille) override;
    void Hauptvariante(const Stellung_t& st, const Zug* zuege, int anzahl, int wert, int alpha, int beta, int tiefe,
                       int selTiefe, int64_t zeitMs, int64_t knoten, int hashPromille, bool still) override;

    // Set by the start-up right after the interpreter exists, cleared by
    // the interpreter when it goes (waiting for a move being handed over).
    void xboardSetzen(XBoardInterface_t* x)
    {
        SperreHalter_t h(rueckSperre_);
        xboard_ = x;
    }
    void optionenSetzen(const Optionen_t* o) { optionen_.store(o, std::memory_order_release); }

    // State the interpreter sets.
    void postSetzen(bool an) { post_.store(an, std::memory_order_relaxed); }
    void rochadeWorteSetzen(bool an) { rochadeWorte_.store(an, std::memory_order_relaxed); }
    bool rochadeWorte() const { return rochadeWorte_.load(std::memory_order_relaxed); }
    void analyseSetzen(bool an) { analyse_.store(an, std::memory_order_relaxed); }
    // At every search start: legal moves of the searched position; nodes,
    // depth and the last score start afresh.
    void sucheBeginnt(int legaleZuege);
    // At the start of an analysis: no hint, no current move, clock from now.
    void analyseBeginnt(int legaleZuege);
    // The expected reply a ponder search assumes ("" when none).
    void ponderTextSetzen(const char* text);

    int32_t letzterWert() const { return letzterWert_.load(std::memory_order_relaxed); }
    // The first move of the latest analysis line; false when there is none.
    bool hinweis(char* puffer, int groesse);
    // The "." line of an analysis: time, nodes, depth, moves left to search,
    // legal moves and the move being searched.
    void analyseStatus();

    // Prints a line even while NoOutput is true: the engine's move and what
    // belongs to it, once the decision to play the move has been taken.
    void zeileImmer(const char* text);

private:
    const Suchgrenzen_t& grenzen_;
    // The interpreter, and the lock held while a move is handed to it.
    Sperre_t rueckSperre_;
    XBoardInterface_t* xboard_ = nullptr;
    std::atomic<const Optionen_t*> optionen_{nullptr};
    std::atomic<bool> post_{true};
    std::atomic<bool> analyse_{false};
    std::atomic<bool> rochadeWorte_{false};
    std::atomic<int32_t> zugNummer_{0};
    std::atomic<int64_t> analyseStart_{0};
    std::atomic<int32_t> legaleZuege_{0};
    std::atomic<int64_t> knoten_{0};
    std::atomic<int32_t> letzterWert_{500000};
    std::atomic<int32_t> tiefe_{0};

    // Guards the texts below.
    mutable Sperre_t zustand_;
    char zugText_[8] = {};
    char hinweis_[8] = {};
    char ponderText_[8] = {};
};
