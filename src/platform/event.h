#pragma once
#include <condition_variable>
#include <mutex>

// Auto-reset event: setzen() wakes exactly one waiter (or the next one to
// arrive), after which the event is reset again.
class Ereignis_t {
public:
    void setzen()
    {
        {
            std::lock_guard<std::mutex> g(m_);
            gesetzt_ = true;
        }
        cv_.notify_one();
    }

    void warten()
    {
        std::unique_lock<std::mutex> g(m_);
        cv_.wait(g, [this] { return gesetzt_; });
        gesetzt_ = false;
    }

private:
    std::mutex m_;
    std::condition_variable cv_;
    bool gesetzt_ = false;
};
