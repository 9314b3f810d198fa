#pragma once
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>

#include "chess/stellung.h"
#include "chess/zug.h"
#include "platform/lock.h"

// The output channel. The search, the tools and the interpreters never
// format protocol text themselves: they call these operations with plain
// values and the channel of the active protocol decides what is printed.
//
// Threads: the search thread calls Fortschritt .. MultiPv while the
// interpreter's thread may print through Zeile at the same moment. Every
// derived print operation builds its whole line in a stack buffer first and
// then calls Zeile, which writes it under the channel's lock, so lines never
// interleave.
//
// Scores are in engine units (1,000 per pawn, mate at ply p = 500,000 - p).
// The position only serves to write moves as text. A move whose kind bits
// (12..15) are all zero stands for no move.
class Ausgabe_t {
public:
    // Lines go to ziel, standard output when null.
    explicit Ausgabe_t(std::FILE* ziel = nullptr);
    Ausgabe_t(const Ausgabe_t&) = delete;
    Ausgabe_t& operator=(const Ausgabe_t&) = delete;

    virtual bool IstStumm() const { return stumm_.load(std::memory_order_relaxed); }
    virtual ~Ausgabe_t() = default;
    // One whole line; a newline is added and the stream flushed.
    virtual void Zeile(const char* text);
    virtual void Fehler(const char* text, const char* detail) = 0;
    virtual void Fehler2(const char* text, const char* detail) = 0;
    // Depth counts iterations from 0; time in ms; hash fill in per mille.
    virtual void Fortschritt(int tiefe, int selTiefe, int64_t zeitMs, int64_t knoten, int hashPromille);
    virtual void BesterZug(const Stellung_t& st, Zug zug, Zug ponder) = 0;
    // nummer counts the root moves from 1.
    virtual void AktuellerZug(const Stellung_t& st, Zug zug, int nummer, int hashPromille);
    // [alpha, beta] is the window the score was found in; still asks for no
    // output (the caller only wants the result recorded).
    virtual void Hauptvariante(const Stellung_t& st, const Zug* zuege, int anzahl, int wert, int alpha, int beta,
                               int tiefe, int selTiefe, int64_t zeitMs, int64_t knoten, int hashPromille,
                               bool still) = 0;
    // nummer counts the lines from 1.
    virtual void MultiPv(const Stellung_t& st, const Zug* zuege, int anzahl, int nummer, int wert, int tiefe);
    // A message about the engine's state, such as a file it cannot use: an
    // "info string" line (text, a blank, detail) unless the channel says
    // such things its own way.
    virtual void Zustand(const char* text, const std::string& detail);

    // Set once while the engine shuts down; never cleared.
    void stummSchalten() { stumm_.store(true, std::memory_order_relaxed); }

protected:
    std::atomic<bool> stumm_{false};
    Sperre_t sperre_;
    std::FILE* ziel_;
};
