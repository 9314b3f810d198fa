#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "chess/stellung.h"
#include "chess/zug.h"
#include "platform/semaphore.h"
#include "platform/thread.h"

class Ausgabe_t;
class Optionen_t;
struct Suchgrenzen_t;

// A searcher: an object with a thread of its own that sleeps between
// searches. The interpreter starts a search with starten(), which returns
// as soon as the thread has taken it; the search reports through the output
// channel and the thread goes back to sleep.
//
// Three semaphores carry the hand-over:
//   semStart   (0..100): released once per search, and once to terminate;
//   semStarted (0..100): released by the thread when it has taken a start;
//   semIdle    (1..100): taken by starten() and given back by the thread
//                        when the search is over, so a wait on it (followed
//                        by a release) waits for a running search to end.
//
// Construction and destruction (the thread calls the virtual search(), so it
// must never see a half-built or half-destroyed object):
//   - The Sucher_t constructor does not start the thread. The most derived
//     class calls fadenStarten() as the last statement of its constructor.
//   - The most derived class calls beenden() as the first statement of its
//     destructor; it stops a running search and joins the thread while the
//     derived part is still alive. ~Sucher_t calls beenden() again, which
//     then does nothing.
//   - A class derived further must follow the same rule itself; its base's
//     constructor must then not start the thread (give it a protected
//     constructor that skips fadenStarten()).
class Sucher_t {
public:
    // Flags of starten().
    static constexpr uint32_t FLAG_PONDER = 1;
    static constexpr uint32_t FLAG_ANALYSE = 2;
    static constexpr uint32_t FLAG_DEBUG = 4;
    static constexpr uint32_t FLAG_SYNCHRON = 128; // search in the calling thread
    static constexpr std::size_t STAPEL_BYTES = 1024000;

    Sucher_t();
    Sucher_t(const Sucher_t&) = delete;
    Sucher_t& operator=(const Sucher_t&) = delete;

    // The thread's body: sleep on semStart, search, give back semIdle.
    virtual void threadLoop();
    virtual ~Sucher_t();
    // "ponderhit": the opponent played the expected move; the search goes
    // on as a normal timed search.
    virtual void ponderHit();
    // Runs one search in the calling thread and reports exactly one best
    // move (or nothing when the position has no legal move, at the derived
    // class's choice).
    virtual void search() = 0;
    // "ucinewgame": the next search starts without memories of earlier ones
    // (a searcher without any keeps nothing to forget).
    virtual void neuesSpiel() {}

    // Starts a search. The position and the option table must stay alive
    // and unchanged until the search is over (the interpreter changes them
    // only after waiting for idle; options are read at the search's start).
    // Without root moves every legal move of the position is searched; an
    // empty range counts as no range.
    void starten(const Stellung_t& stellung, Optionen_t& optionen, uint32_t flags, Suchgrenzen_t& grenzen,
                 Ausgabe_t& ausgabe, const Zug* wurzelAnfang = nullptr, const Zug* wurzelEnde = nullptr);

    // Asks a running search to end soon and releases a ponder search.
    void stoppenAnfordern()
    {
        stop.store(true, std::memory_order_relaxed);
        pondering.store(false, std::memory_order_relaxed);
    }
    // Asks and waits until the search is over.
    void stoppen()
    {
        stoppenAnfordern();
        warteBisUntaetig();
    }
    void warteBisUntaetig()
    {
        semIdle.warten();
        semIdle.freigeben();
    }

    bool sollStoppen() const { return stop.load(std::memory_order_relaxed); }
    bool ponderAktiv() const { return pondering.load(std::memory_order_relaxed); }

protected:
    // See the class comment: called by the most derived class only.
    bool fadenStarten();
    void beenden();

    const Zug* wurzelAnfang() const { return wurzelZuege; }
    const Zug* wurzelEnde() const { return wurzelZuege + wurzelAnzahl; }

    // Parameters of the current search.
    const Stellung_t* stellung = nullptr;
    Optionen_t* optionen = nullptr;
    Suchgrenzen_t* grenzen = nullptr;
    Ausgabe_t* ausgabe = nullptr;

    Semaphor_t semStart{0, 100};
    Semaphor_t semStarted{0, 100};
    Semaphor_t semIdle{1, 100};
    Faden_t faden;

    // Written by the interpreter's thread while the search runs.
    std::atomic<bool> stop{false};
    std::atomic<bool> pondering{false};
    std::atomic<bool> terminate{false};
    // Set by starten() before the search is handed over.
    bool analyse = false;
    bool debug = false;
    bool rootMovesGiven = false;

    Zug wurzelZuege[MAX_ZUEGE] = {};
    int wurzelAnzahl = 0;

private:
    bool beendet_ = false;
};
