#pragma once
#include <mutex>

// A non-recursive lock ("critical section") and its scoped holder.
class Sperre_t {
public:
    void betreten() { m_.lock(); }
    void verlassen() { m_.unlock(); }
    bool versuchen() { return m_.try_lock(); }
    // BasicLockable, so std::lock_guard and std::unique_lock work too.
    void lock() { m_.lock(); }
    void unlock() { m_.unlock(); }

private:
    std::mutex m_;
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
