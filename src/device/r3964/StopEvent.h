#pragma once
#include <chrono>
#include <condition_variable>
#include <mutex>

// A manual-reset event: once set it stays set, and every wait returns at
// once, until it is reset.
class CManualResetEvent {
public:
    void Set()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_set = true;
        }
        m_cv.notify_all();
    }
    void Reset()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_set = false;
    }
    bool IsSet() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_set;
    }
    // Waits up to timeout; true when the event is (or becomes) set.
    template <class Rep, class Period>
    bool WaitFor(std::chrono::duration<Rep, Period> timeout)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_cv.wait_for(lock, timeout, [this] { return m_set; });
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_set = false;
};
