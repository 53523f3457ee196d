#pragma once
// Turns decoded pictures into BGRA with the chosen effect on a thread of its own,
// so the decoder reads the next picture while the last one is being converted.
// One picture is in flight at a time; pictures come out in the order they went in.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "avcore/effects/frame_pipeline.h"
#include "avcore/frame_pool.h"
#include "avcore/media_source.h"
#include "avcore/video_sample.h"
#include "avcore/timing_stat.h"
#include "avcore/win_handle.h"

namespace avcore {

class ConvertStage {
public:
    // Receives each converted picture (null when it could not be read), on the stage's thread.
    using Deliver = std::function<void(FramePtr frame, uint64_t generation)>;

    // The pool belongs to the session; once it is gone pictures are no longer made.
    // times, when given, tallies each conversion and must outlive the stage.
    ConvertStage(std::weak_ptr<FramePool> pool, int shape, int effectCode, TimingStat* times = nullptr);
    ~ConvertStage();
    ConvertStage(const ConvertStage&) = delete;
    ConvertStage& operator=(const ConvertStage&) = delete;

    bool start(Deliver deliver);  // false if the thread could not be created
    void stop();                  // the picture in flight is finished and delivered first

    // Hands a picture over; waits while the one before it is still in flight.
    void submit(VideoSample sample, const VideoFormat& format, uint64_t generation);
    // Waits until every picture handed over has been delivered.
    void flush();
    // Converts on the calling thread once nothing is in flight: for a picture that
    // must be queued before anything else happens (the first one, a seek's target).
    FramePtr convertNow(const VideoSample& sample, const VideoFormat& format, uint64_t generation);

private:
    void run();
    FramePtr convert(const VideoSample& sample, const VideoFormat& format, uint64_t generation);  // timed
    FramePtr convertPicture(const VideoSample& sample, const VideoFormat& format, uint64_t generation);

    const std::weak_ptr<FramePool> m_pool;
    const int m_shape;
    const int m_effectCode;
    TimingStat* const m_times;
    Deliver m_deliver;

    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_pending = false;  // guarded by m_lock: a picture is waiting or being converted
    bool m_quit = false;     // guarded by m_lock
    bool m_running = false;  // guarded by m_lock: the thread takes pictures
    VideoSample m_sample;    // guarded by m_lock while pending
    VideoFormat m_format;
    uint64_t m_generation = 0;

    // Used by one thread at a time: the stage's, or the caller of convertNow while idle.
    avfx::FramePipeline m_pipeline;
    int m_configuredWidth = 0, m_configuredHeight = 0;
    avfx::ColorMatrix m_configuredMatrix = avfx::ColorMatrix::BT601;

    WorkerThread m_thread;
};

} // namespace avcore
