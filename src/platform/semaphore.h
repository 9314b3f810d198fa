#pragma once
#include "platform/systemobjekt.h"

// Counting semaphore with a ceiling: a release that would pass the maximum
// is refused (returns false) and leaves the count unchanged.
class Semaphor_t {
public:
    explicit Semaphor_t(int anfang = 0, int maximum = 100);
    ~Semaphor_t();
    Semaphor_t(const Semaphor_t&) = delete;
    Semaphor_t& operator=(const Semaphor_t&) = delete;

    bool freigeben(int n = 1);
    void warten();
    // Waits at most ms milliseconds; false when the count stayed 0.
    bool wartenMs(int ms);
    bool versuchen();

private:
    SystemObjekt<96> objekt_;
};
