#pragma once
#include "platform/systemobjekt.h"

// A lock ("critical section") and its scoped holder. The engine never enters
// a lock it already holds, so whether the system's lock would allow that does
// not matter.
class Sperre_t {
public:
    Sperre_t();
    ~Sperre_t();
    Sperre_t(const Sperre_t&) = delete;
    Sperre_t& operator=(const Sperre_t&) = delete;

    void betreten();
    void verlassen();
    bool versuchen();
    // BasicLockable, so std::lock_guard and std::unique_lock work too.
    void lock() { betreten(); }
    void unlock() { verlassen(); }

private:
    SystemObjekt<64> objekt_;
};

class SperreHalter_t {
public:
    explicit SperreHalter_t(Sperre_t& s) : s_(s) { s_.betreten(); }
    ~SperreHalter_t() { s_.verlassen(); }
    SperreHalter_t(const SperreHalter_t&) = delete;
    SperreHalter_t& operator=(const SperreHalter_t&) = delete;

private:
    Sperre_t& s_;
};
