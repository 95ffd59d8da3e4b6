#pragma once

#include <atomic>
#include <cstdint>

namespace platform {

// Counting semaphore that makes no system call unless a thread actually waits.
class Semaphore {
public:
    explicit Semaphore(int32_t initial) : count(initial) {}
    Semaphore(const Semaphore&) = delete;
    Semaphore& operator=(const Semaphore&) = delete;

    void acquire()
    {
        while (!try_acquire()) {
            waiters.fetch_add(1);
            int32_t seen = count.load();
            if (seen <= 0)
                count.wait(seen);
            waiters.fetch_sub(1);
        }
    }

    bool try_acquire()
    {
        int32_t seen = count.load(std::memory_order_relaxed);
        while (seen > 0)
            if (count.compare_exchange_weak(seen, seen - 1, std::memory_order_acquire))
                return true;
        return false;
    }

    void release()
    {
        count.fetch_add(1, std::memory_order_release);
        if (waiters.load() > 0)
            count.notify_one();
    }

private:
    std::atomic<int32_t> count;
    std::atomic<int32_t> waiters{0};
};

}  // namespace platform
