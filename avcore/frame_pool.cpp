#include "avcore/frame_pool.h"

namespace avcore {

namespace {
constexpr size_t kMaxIdle = 8;  // enough for the queue plus the picture on screen
}

FramePtr FramePool::acquire(int width, int height)
{
    if (width <= 0 || height <= 0) return nullptr;
    std::unique_ptr<VideoFrame> frame;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (!m_idle.empty()) {
            frame = std::move(m_idle.back());
            m_idle.pop_back();
        }
    }
    if (!frame) frame = std::make_unique<VideoFrame>();
    frame->width = width;
    frame->height = height;
    frame->stride = width * 4;
    frame->bgra.resize(static_cast<size_t>(frame->stride) * height);
    frame->pts = frame->duration = 0.0;
    frame->generation = 0;
    // A frame may outlive its pool (the presenter keeps the last one): then it is simply freed.
    std::weak_ptr<FramePool> weak = weak_from_this();
    return FramePtr(frame.release(), [weak](VideoFrame* f) {
        if (auto pool = weak.lock()) pool->recycle(f);
        else delete f;
    });
}

void FramePool::recycle(VideoFrame* frame)
{
    std::unique_ptr<VideoFrame> owned(frame);
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_idle.size() < kMaxIdle) m_idle.push_back(std::move(owned));
}

size_t FramePool::idleCount() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_idle.size();
}

} // namespace avcore
