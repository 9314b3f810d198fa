#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/event.h"
#include "platform/lock.h"
#include "platform/thread.h"

class Ausgabe_t;
class Eingabe_t;

// Carries UCI commands, lines to print and error reports from the XBoard
// interpreter to a worker thread of its own, which executes them strictly in
// the order they were queued. The XBoard side thereby never waits for the
// engine core: a UCI "position" that waits for a running search blocks only
// the worker, while the main thread goes on reading "?" or the next move.
//
// All memory is taken at construction: 64 slots of fixed capacity (three of
// 75,000 bytes for long "position" commands, three of 2,000, the rest of
// 1,000). An entry takes the free slot with the highest number that is large
// enough, so short entries never use up the large slots.
//
// Threads: einreihen() may be called from any thread; the worker only takes
// the queue's own lock for the bookkeeping, never while it executes an entry.
class XboardUciQueue_t {
public:
    static constexpr int SLOTS = 64;
    static constexpr std::size_t STAPEL_BYTES = 100000;
    static constexpr std::size_t GROSS = 75000, MITTEL = 2000, KLEIN = 1000;

    enum Art : uint32_t {
        UCI = 0,    // given to the inner interpreter's Zeile
        ZEILE = 1,  // printed through the channel
        FEHLER = 2, // the channel's Fehler with text and detail
    };

    XboardUciQueue_t(Eingabe_t& ziel, Ausgabe_t& ausgabe);
    // Executes every entry still queued, then ends the worker.
    ~XboardUciQueue_t();
    XboardUciQueue_t(const XboardUciQueue_t&) = delete;
    XboardUciQueue_t& operator=(const XboardUciQueue_t&) = delete;

    // Queues one entry. When every slot large enough is taken: with a
    // caller's lock given, waits until the worker frees one, leaving that
    // lock while it waits (the worker may be waiting for a search that needs
    // the lock to report its move); without one, returns false at once.
    // False also for an entry larger than any slot and once the queue has
    // been stopped.
    bool einreihen(const char* text, Art art, const char* detail = nullptr, Sperre_t* halteSperre = nullptr);

    // True when a free slot of at least the given size (text plus its
    // terminating zero) exists; with two sizes, two different slots.
    bool platzFuer(std::size_t groesse1, std::size_t groesse2 = 0);

    // True when every queued entry has been executed to its end.
    bool fertig();
    // Waits until it is (the caller holds no lock the worker could need).
    void warteBisFertig();
    // True while a caller waits in einreihen() for a free slot.
    bool wartetAufPlatz() const { return wartend_.load(std::memory_order_relaxed); }

    // Slot an entry of this size would take with every slot free, -1 when
    // none is large enough (for the tests).
    static int slotFuer(std::size_t groesse);
    static std::size_t kapazitaet(int slot);

private:
    struct Slot {
        std::size_t kapazitaet = 0;
        uint32_t art = 0;
        bool belegt = false;
        std::unique_ptr<char[]> puffer;
    };

    static void fadenEintrag(void* p);
    void arbeiten();
    void ausfuehren(const Slot& s);
    // Under the lock: the free slot for an entry of this size, or -1.
    int freierSlot(std::size_t groesse, int ausser = -1) const;

    Sperre_t sperre_;
    Faden_t faden_;
    Ereignis_t wecken_;
    Ereignis_t frei_; // set whenever the worker frees a slot (one thread waits on it)
    Eingabe_t& ziel_;
    Ausgabe_t& ausgabe_;
    Slot slots_[SLOTS];
    Slot* ring_[SLOTS] = {};
    uint32_t schreiben_ = 0;
    uint32_t lesen_ = 0;
    int belegt_ = 0;
    bool stop_ = false;
    std::atomic<bool> wartend_{false};
};
