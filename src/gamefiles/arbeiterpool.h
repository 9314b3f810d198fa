#pragma once
#include <cstddef>
#include <functional>

#include "platform/lock.h"
#include "platform/semaphore.h"
#include "platform/thread.h"

// Four worker threads fed by one producer (the main thread). The pool hands
// out work records by index (0..ANZAHL-1; the tool keeps the records
// themselves): the producer takes a free record, fills it and hands it in;
// a worker takes the oldest filled record, processes it and puts it back on
// the free stack. Two counting semaphores count the free and the filled
// records, one lock guards the free stack, one the ring of filled records.
//
//     Arbeiterpool_t pool([&](int arbeiter, int satz) { ... });
//     for (...) { int s = pool.freierSatz(); fill(records[s]); pool.abgeben(s); }
//     pool.beenden();   // every record processed, workers joined
class Arbeiterpool_t {
public:
    static constexpr int ANZAHL = 4;
    static constexpr std::size_t STAPEL_BYTES = 1024000;

    // arbeiter: the worker's number (0..ANZAHL-1), so that each worker can
    // own a searcher of its own; satz: the record to process.
    using Arbeit_t = std::function<void(int arbeiter, int satz)>;

    explicit Arbeiterpool_t(Arbeit_t arbeit);
    ~Arbeiterpool_t();
    Arbeiterpool_t(const Arbeiterpool_t&) = delete;
    Arbeiterpool_t& operator=(const Arbeiterpool_t&) = delete;

    // Producer side (one thread only). freierSatz() waits until a record is
    // free; abgeben() hands it to the workers.
    int freierSatz();
    void abgeben(int satz);
    // Waits until every record has come back, then stops and joins the
    // workers. Called again (or by the destructor) it does nothing.
    void beenden();

    // Workers that could be started; with none, abgeben() does the work
    // itself on the producer's thread.
    int arbeiter() const { return gestartet_; }

private:
    struct Start_t {
        Arbeiterpool_t* pool;
        int nummer;
    };
    static void eintrag(void* p);
    void schleife(int nummer);

    Arbeit_t arbeit_;
    Semaphor_t frei_{ANZAHL, 100};
    Semaphor_t gefuellt_{0, 100};
    Sperre_t freiSperre_;
    Sperre_t ringSperre_;
    int freiStapel_[ANZAHL];
    int freiAnzahl_ = ANZAHL;
    int ring_[ANZAHL];
    int ringKopf_ = 0;
    int ringAnzahl_ = 0;
    Start_t starts_[ANZAHL];
    Faden_t faeden_[ANZAHL];
    int gestartet_ = 0;
    bool beendet_ = false;
};
