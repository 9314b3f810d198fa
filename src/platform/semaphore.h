#pragma once
#include <chrono>
#include <condition_variable>
#include <mutex>

// Counting semaphore with a ceiling: a release that would pass the maximum
// is refused (returns false) and leaves the count unchanged.
class Semaphor_t {
public:
    explicit Semaphor_t(int anfang = 0, int maximum = 100) : zahl_(anfang), maximum_(maximum) {}
    Semaphor_t(const Semaphor_t&) = delete;
    Semaphor_t& operator=(const Semaphor_t&) = delete;

    bool freigeben(int n = 1)
    {
        {
            std::lock_guard<std::mutex> g(m_);
            if (zahl_ + n > maximum_) return false;
            zahl_ += n;
        }
        if (n == 1) cv_.notify_one();
        else cv_.notify_all();
        return true;
    }

    void warten()
    {
        std::unique_lock<std::mutex> g(m_);
        cv_.wait(g, [this] { return zahl_ > 0; });
        --zahl_;
    }

    // Waits at most ms milliseconds; false when the count stayed 0.
    bool wartenMs(int ms)
    {
        std::unique_lock<std::mutex> g(m_);
        if (!cv_.wait_for(g, std::chrono::milliseconds(ms), [this] { return zahl_ > 0; })) return false;
        --zahl_;
        return true;
    }

    bool versuchen()
    {
        std::lock_guard<std::mutex> g(m_);
        if (zahl_ == 0) return false;
        --zahl_;
        return true;
    }

private:
    std::mutex m_;
    std::condition_variable cv_;
    int zahl_;
    int maximum_;
};
