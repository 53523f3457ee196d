#pragma once
// Counts the live objects of a type, for leak checks: a member of this type makes
// its owner counted, copies included.
#include <atomic>

namespace avcore {

template <class Owner>
class LiveCount {
public:
    LiveCount() { ++s_alive; }
    LiveCount(const LiveCount&) { ++s_alive; }
    LiveCount& operator=(const LiveCount&) = default;
    ~LiveCount() { --s_alive; }
    static int alive() { return s_alive.load(); }

private:
    static inline std::atomic<int> s_alive{0};
};

} // namespace avcore
