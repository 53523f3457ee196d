#include "avcore/convert_stage.h"


namespace avcore {

ConvertStage::ConvertStage(std::weak_ptr<FramePool> pool, int shape, int effectCode, TimingStat* times)
    : m_pool(std::move(pool)), m_shape(shape), m_effectCode(effectCode), m_times(times)
{
}

ConvertStage::~ConvertStage()
{
    stop();
}

bool ConvertStage::start(Deliver deliver)
{
    m_deliver = std::move(deliver);
    std::lock_guard<std::mutex> lock(m_lock);
    m_running = !m_quit && m_thread.start([this] { run(); });
    return m_running;
}

void ConvertStage::stop()
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_quit = true;
        m_changed.notify_all();
    }
    m_thread.join();  // the thread delivers what is in flight before it ends
    std::lock_guard<std::mutex> lock(m_lock);
    m_running = false;
}

void ConvertStage::submit(VideoSample sample, const VideoFormat& format, uint64_t generation)
{
    std::unique_lock<std::mutex> lock(m_lock);
    m_changed.wait(lock, [&] { return !m_pending; });
    if (m_quit || !m_running) return;
    m_sample = std::move(sample);
    m_format = format;
    m_generation = generation;
    m_pending = true;
    m_changed.notify_all();
}

void ConvertStage::flush()
{
    std::unique_lock<std::mutex> lock(m_lock);
    m_changed.wait(lock, [&] { return !m_pending; });
}

FramePtr ConvertStage::convertNow(const VideoSample& sample, const VideoFormat& format, uint64_t generation)
{
    flush();
    return convert(sample, format, generation);
}

void ConvertStage::run()
{
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        m_changed.wait(lock, [&] { return m_pending || m_quit; });
        if (!m_pending) break;  // asked to quit, nothing in flight
        VideoSample sample = std::move(m_sample);
        const VideoFormat format = m_format;
        const uint64_t generation = m_generation;
        lock.unlock();
        FramePtr frame = convert(sample, format, generation);
        sample.hold.reset();  // the slot goes back to the decoder
        m_deliver(std::move(frame), generation);
        lock.lock();
        m_pending = false;
        m_changed.notify_all();
    }
}

FramePtr ConvertStage::convert(const VideoSample& sample, const VideoFormat& f, uint64_t generation)
{
    const double started = m_times ? NowSeconds() : 0.0;
    FramePtr frame = convertPicture(sample, f, generation);
    if (m_times) m_times->add(NowSeconds() - started);
    return frame;
}

FramePtr ConvertStage::convertPicture(const VideoSample& sample, const VideoFormat& f, uint64_t generation)
{
    if (f.cropWidth != m_configuredWidth || f.cropHeight != m_configuredHeight || f.matrix != m_configuredMatrix) {
        m_pipeline.configure(f.cropWidth, f.cropHeight, m_shape, m_effectCode, f.matrix);
        m_configuredWidth = f.cropWidth;
        m_configuredHeight = f.cropHeight;
        m_configuredMatrix = f.matrix;
    }
    if (!sample.hold) return nullptr;
    const std::shared_ptr<FramePool> pool = m_pool.lock();
    FramePtr frame = pool ? pool->acquire(f.cropWidth, f.cropHeight) : nullptr;
    if (!frame) return nullptr;
    // A refused picture leaves the recycled buffer as it was: showing it would replay an old picture.
    if (!m_pipeline.process(sample.planes, f.layout, frame->bgra.data(), frame->stride)) return nullptr;
    frame->pts = sample.pts;
    frame->duration = sample.duration;
    frame->generation = generation;
    return frame;
}

} // namespace avcore
