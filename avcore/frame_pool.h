#pragma once
// Converted pictures (BGRA, top-down) and a pool that recycles their buffers:
// a 1080p picture is 8 MB, too big to allocate afresh sixty times a second.
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "avcore/live_count.h"

namespace avcore {

struct VideoFrame {
    std::vector<uint8_t> bgra;  // stride * height bytes
    int width = 0;
    int height = 0;
    int stride = 0;             // bytes per row
    double pts = 0.0;           // seconds, stream time
    double duration = 0.0;      // seconds
    uint64_t generation = 0;    // seek generation it was decoded for
    LiveCount<VideoFrame> live;
};

using FramePtr = std::shared_ptr<VideoFrame>;

class FramePool : public std::enable_shared_from_this<FramePool> {
public:
    // A frame of the given size; its buffer returns to the pool when the last owner lets go.
    FramePtr acquire(int width, int height);
    size_t idleCount() const;

private:
    void recycle(VideoFrame* frame);

    mutable std::mutex m_lock;
    std::vector<std::unique_ptr<VideoFrame>> m_idle;  // guarded by m_lock
    LiveCount<FramePool> m_live;
};

} // namespace avcore
