#include "avcore/render_worker.h"

#include <mmsystem.h>

#include <algorithm>
#include <chrono>

#include "avcore/presenter.h"

namespace avcore {

namespace {

constexpr double kEarlyTolerance = 0.002;  // closer than this to its time, a picture is due
constexpr double kMaxSleep = 0.02;         // re-read the clock at least this often

std::chrono::microseconds Seconds(double s)
{
    return std::chrono::microseconds(static_cast<long long>(std::max(s, 0.0) * 1e6));
}

// 1 ms timer resolution while presenting, so a 60 fps picture is not 15 ms late.
struct TimerResolution {
    TimerResolution() { timeBeginPeriod(1); }
    ~TimerResolution() { timeEndPeriod(1); }
};

// How often the screen shows a new picture; 60 Hz when the system does not say.
double ScreenRefreshSeconds()
{
    HDC screen = GetDC(nullptr);
    const int hz = screen ? GetDeviceCaps(screen, VREFRESH) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return 1.0 / (hz > 1 && hz <= 1000 ? hz : 60);
}

} // namespace

void RenderWorker::run()
{
    TimerResolution resolution;
    m_refresh = ScreenRefreshSeconds();
    // Above the decoder's threads, which may keep every core busy: a picture shown late is dropped.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
    uint64_t generation = ~0ull;
    std::unique_lock<std::mutex> lock(m_s.lock);
    while (!m_s.quit) {
        if (m_s.generation != generation) {
            generation = m_s.generation;
            m_shownUntil = 0.0;
        }
        if (m_s.frames.empty()) {
            if (reachedEndLocked()) {
                m_s.ended = true;
                m_s.applyClockLocked();
                m_s.notifyAll();
            }
            m_s.changed.wait_for(lock, Seconds(kMaxSleep));
            continue;
        }
        if (m_s.showNow) {
            m_s.showNow = false;
            FramePtr frame = std::move(m_s.frames.front());
            m_s.frames.pop_front();
            m_s.changed.notify_all();
            lock.unlock();
            present(std::move(frame));
            lock.lock();
            continue;
        }
        if (!m_s.running || !m_s.prerolled || m_s.ended) {
            m_s.changed.wait(lock);
            continue;
        }
        const double now = m_s.clock.now();
        const FramePtr& front = m_s.frames.front();
        if (front->pts > now + kEarlyTolerance) {
            m_s.changed.wait_for(lock, Seconds(std::min(front->pts - now, kMaxSleep)));
            continue;
        }
        // Faster than normal, pictures may come faster than the screen shows them: one
        // whose successor falls due before the screen could show another is dropped.
        const double rate = m_s.clock.rate();
        const double sinceShown = NowSeconds() - m_s.stats.lastShownAt.load();
        if (rate > 1.0 && sinceShown < m_refresh) {
            const double screenFree = now + (m_refresh - sinceShown) * rate;
            if (m_s.frames.size() > 1 && m_s.frames[1]->pts <= screenFree + kEarlyTolerance) {
                m_s.frames.pop_front();
                m_s.stats.dropped.fetch_add(1);
                m_s.changed.notify_all();
            } else {
                m_s.changed.wait_for(lock, Seconds(m_refresh - sinceShown));
            }
            continue;
        }
        // Late by more than a picture (the one after next is due too): this one is never
        // seen. A picture late by less is still shown and the next catches up, so one
        // stall of the window system costs a moment of jitter, not a lost picture.
        if (m_s.frames.size() > 2 && m_s.frames[2]->pts <= now) {
            m_s.frames.pop_front();
            m_s.stats.dropped.fetch_add(1);
            m_s.changed.notify_all();
            continue;
        }
        FramePtr frame = std::move(m_s.frames.front());
        m_s.frames.pop_front();
        m_s.changed.notify_all();
        if (now - frame->pts > frame->duration / 2) m_s.stats.shownLate.fetch_add(1);
        lock.unlock();
        present(std::move(frame));
        lock.lock();
    }
}

bool RenderWorker::reachedEndLocked()
{
    if (m_s.ended || !m_s.running || !m_s.prerolled || !m_s.videoEnded) return false;
    if (m_s.info.hasAudio && !m_s.audioDrained) return false;
    return m_s.clock.now() >= m_shownUntil;
}

void RenderWorker::present(FramePtr frame)
{
    const double pts = frame->pts;
    const double par = m_s.info.video.parDen > 0
                           ? static_cast<double>(m_s.info.video.parNum) / m_s.info.video.parDen : 1.0;
    const double aspect = frame->height > 0 ? frame->width * par / frame->height : 1.0;
    m_shownUntil = pts + frame->duration;
    const double started = NowSeconds();
    m_presenter.show(std::move(frame), aspect);
    const double shownAt = NowSeconds();
    m_s.stats.present.add(shownAt - started);
    if (m_s.clock.running()) m_s.stats.lateness.add(m_s.clock.nowAt(shownAt) - pts);
    m_s.stats.lastPts.store(pts);
    m_s.stats.lastShownAt.store(shownAt);
    m_s.stats.presented.fetch_add(1);
}

} // namespace avcore
