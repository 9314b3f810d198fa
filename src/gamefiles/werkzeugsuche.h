#pragma once
#include <memory>

#include "chess/stellung.h"
#include "shell/optionen.h"
#include "shell/suchgrenzen.h"
#include "chess/zug.h"

class Suche_t;

// How the batch tools search: the limits of every search (start: its own
// start), the table size of each worker, and the random seed of the tools
// that draw (0: seeded from the clock).
struct WerkzeugEinstellung_t {
    GoParameter_t go = sekunde();
    int hashMb = 64;
    uint32_t saat = 0;

    static GoParameter_t sekunde()
    {
        GoParameter_t g;
        g.zugzeit = 1000;
        return g;
    }
};

// What one search found: the best move (0 when none) and the score of the
// last principal variation, from the side to move's view.
struct Suchergebnis_t {
    Zug zug = 0;
    int32_t wert = 0;
};

// The searcher of one batch-tool worker: a search controller of its own
// with its own table, the book off, one thread, silent output. Every search
// starts with a cleared table and cleared history tables, so a position's
// result does not depend on which positions the worker saw before.
class Werkzeugsuche_t {
public:
    explicit Werkzeugsuche_t(int hashMb);
    ~Werkzeugsuche_t();
    Werkzeugsuche_t(const Werkzeugsuche_t&) = delete;
    Werkzeugsuche_t& operator=(const Werkzeugsuche_t&) = delete;

    // Searches st within the limits that go describes (start: now), in the
    // calling thread.
    Suchergebnis_t suchen(const Stellung_t& st, const GoParameter_t& go);

    // The quiescence value of st from the side to move's view.
    int ruhewert(const Stellung_t& st);

private:
    Optionen_t optionen_;
    std::unique_ptr<Suche_t> suche_;
};
