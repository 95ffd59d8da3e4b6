#pragma once

#include <cstddef>
#include <vector>

#include "platform/PWindowSystem.h"

namespace platform {

// First-in first-out store of messages in a ring that only allocates when it has to
// grow, so that a steady flow of events costs no allocation.
class PMessageQueue {
public:
    bool Empty() const { return count == 0; }
    size_t Size() const { return count; }

    void Push(const PMessage& message)
    {
        if (count == ring.size())
            Grow();
        ring[(first + count) % ring.size()] = message;
        count++;
    }

    bool Pop(PMessage& message)
    {
        if (count == 0)
            return false;
        message = ring[first];
        first = (first + 1) % ring.size();
        count--;
        return true;
    }

    // Drops every message for a window that no longer exists.
    void RemoveWindow(PHandle window)
    {
        size_t kept = 0;
        for (size_t i = 0; i < count; i++) {
            const PMessage& m = ring[(first + i) % ring.size()];
            if (m.window != window)
                ring[(first + kept++) % ring.size()] = m;
        }
        count = kept;
    }

private:
    void Grow()
    {
        std::vector<PMessage> larger(ring.empty() ? 256 : ring.size() * 2);
        for (size_t i = 0; i < count; i++)
            larger[i] = ring[(first + i) % ring.size()];
        ring.swap(larger);
        first = 0;
    }

    std::vector<PMessage> ring;
    size_t first = 0;
    size_t count = 0;
};

}  // namespace platform
