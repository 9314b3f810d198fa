#pragma once
#include <cstdint>

#include "platform/clock.h"

// Values that stand for "no limit": larger than any real time or node count.
constexpr int64_t ZEIT_UNBEGRENZT = 35747326337155072;
constexpr int64_t KNOTEN_UNBEGRENZT = 9223090566172966912;
constexpr int32_t TIEFE_UNBEGRENZT = 1000;

// The "go" parameters that decide the limits.
struct GoParameter_t {
    int64_t zeit = 0;         // own clock, ms
    int64_t inkrement = 0;    // own increment, ms
    int32_t zuegeBisKontrolle = 0;
    int32_t tiefe = 0;
    int64_t knoten = 0;
    int32_t matt = 0;         // mate in so many moves
    int64_t zugzeit = 0;      // fixed time per move, ms
    bool unendlich = false;
};

// The limits of one search, filled by "go" and read by the search.
//
// Threads: the interpreter writes the record only while no search runs (it
// waits for the searcher to become idle first); the search thread only
// reads it, and "ponderhit" reads it from the interpreter's thread. The
// semaphore hand-over orders the writes before the reads.
struct Suchgrenzen_t {
    int64_t start = 0;                     // jetztMs() at the "go"
    int64_t zielZeit = ZEIT_UNBEGRENZT;    // time the search aims to use
    int64_t iterationsZeit = ZEIT_UNBEGRENZT; // no new iteration after this
    int64_t harteZeit = ZEIT_UNBEGRENZT;   // stop at once after this
    int64_t iterationsKnoten = KNOTEN_UNBEGRENZT;
    int64_t harteKnoten = KNOTEN_UNBEGRENZT;
    int32_t maxTiefe = TIEFE_UNBEGRENZT;   // deepest iteration, counted from 0
    // With the virtual clock the caller passes a node count wherever the
    // checks want the elapsed time (reproducible tool runs).
    bool virtuelleUhr = false;

    // Sets every limit from the parameters of a "go"; start := now.
    void fuellen(const GoParameter_t& p, bool virtuell);
    void fuellen(const GoParameter_t& p, bool virtuell, int64_t jetzt);

    // The elapsed time the checks use: wert with the virtual clock, else the
    // milliseconds since start.
    int64_t verstrichen(int64_t wert) const { return virtuelleUhr ? wert : jetztMs() - start; }

    // Polled during the search: must it end now?
    bool jetztStoppen(int64_t knoten) const { return jetztStoppenBei(knoten, verstrichen(knoten)); }
    bool jetztStoppenBei(int64_t knoten, int64_t e) const { return knoten >= harteKnoten || e >= harteZeit; }

    // After a completed iteration: is another one worth its time? tiefe is
    // the iteration just completed, instabil >= 0 how unsettled the search
    // looks (more instability buys more time).
    bool weiterIterieren(int64_t knoten, int tiefe, double instabil) const
    {
        return weiterIterierenBei(knoten, tiefe, instabil, verstrichen(knoten));
    }
    bool weiterIterierenBei(int64_t knoten, int tiefe, double instabil, int64_t e) const;
};
