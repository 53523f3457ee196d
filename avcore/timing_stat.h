#pragma once
// A running tally of how long one step takes (count, total, worst), kept for every
// picture: two clock reads and three relaxed atomics, cheap beside any step timed.
#include <atomic>
#include <cstdint>

namespace avcore {

struct TimingStat {
    std::atomic<uint64_t> count{0};
    std::atomic<double> totalSeconds{0.0};
    std::atomic<double> worstSeconds{0.0};

    // One thread writes a tally at a time (its steps are ordered by the engine's own
    // locks), so a load and a store need no compare-exchange loop.
    void add(double seconds)
    {
        totalSeconds.store(totalSeconds.load(std::memory_order_relaxed) + seconds, std::memory_order_relaxed);
        if (seconds > worstSeconds.load(std::memory_order_relaxed))
            worstSeconds.store(seconds, std::memory_order_relaxed);
        count.fetch_add(1, std::memory_order_relaxed);
    }
};

} // namespace avcore
