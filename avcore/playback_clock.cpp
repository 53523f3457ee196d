#include "avcore/playback_clock.h"

#include <algorithm>

#include "avcore/win_handle.h"

namespace avcore {

namespace {
// Device positions move in period-sized steps (about 10 ms): small errors are
// absorbed a quarter at a time so the picture does not stutter on every step.
constexpr double kSlewFraction = 0.25;
constexpr double kSnapBehind = 0.06;
}

double PlaybackClock::nowLocked(double at) const
{
    return m_running ? m_base + (at - m_baseAt) * m_rate : m_base;
}

double PlaybackClock::now() const
{
    return nowAt(NowSeconds());
}

double PlaybackClock::nowAt(double seconds) const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return nowLocked(seconds);
}

bool PlaybackClock::running() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_running;
}

void PlaybackClock::hold(double mediaTime)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_base = mediaTime;
    m_baseAt = NowSeconds();
    m_running = false;
    m_audio = false;
    m_lastOfferAt = 0.0;
}

void PlaybackClock::setRunning(bool run)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (run == m_running) return;
    const double at = NowSeconds();
    m_base = nowLocked(at);
    m_baseAt = at;
    m_running = run;
}

void PlaybackClock::setRate(double rate)
{
    std::lock_guard<std::mutex> lock(m_lock);
    const double at = NowSeconds();
    m_base = nowLocked(at);
    m_baseAt = at;
    m_rate = rate;
}

double PlaybackClock::rate() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_rate;
}

void PlaybackClock::offerAudio(double mediaTime, double atSeconds)
{
    std::lock_guard<std::mutex> lock(m_lock);
    const double since = m_lastOfferAt > 0.0 ? atSeconds - m_lastOfferAt : 0.0;
    m_lastOfferAt = atSeconds;
    if (!m_running) return;
    const double clock = nowLocked(atSeconds);
    // The bounds are in real time: at double speed media time runs twice as far.
    const double diff = (mediaTime - clock) / m_rate;
    if (diff > kAheadLimit) {
        m_audio = false;
        return;
    }
    double step = diff * kSlewFraction;
    if (diff < -kSnapBehind) step = diff;
    else if (step > 0.0) step = std::min(step, std::max(since, 0.0) * kMaxForwardRate);
    m_base = clock + step * m_rate;
    m_baseAt = atSeconds;
    m_audio = true;
}

bool PlaybackClock::followsAudio() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_audio;
}

void PlaybackClock::releaseAudio()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_audio = false;
}

} // namespace avcore
