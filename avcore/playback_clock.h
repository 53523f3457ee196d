#pragma once
// The playback clock: media time in seconds, driven by QueryPerformanceCounter at
// the playback speed and steered by the audio device's played position. Thread-safe.
#include <mutex>

namespace avcore {

class PlaybackClock {
public:
    // How far an audio position may run ahead of the clock and still be believed.
    // The audio thread writes more than this ahead, so a sink that swallows data
    // faster than real time (a file sink, a broken driver) can never drag the clock along.
    static constexpr double kAheadLimit = 0.06;
    // Forward steering is at most this fraction of the time passed: enough for any
    // real device's drift, too little for a runaway sink to speed playback up.
    static constexpr double kMaxForwardRate = 0.005;

    double now() const;                 // media time now
    double nowAt(double seconds) const; // media time at a QPC time (NowSeconds())
    bool running() const;
    void hold(double mediaTime);        // stops and sets the time (seek, open)
    void setRunning(bool run);          // starts or stops at the current time (pause holds)
    void setRate(double rate);          // media seconds per second from now on
    double rate() const;

    // Offers the audio device's position at a QPC time. A position behind the clock is
    // followed (audio is the master: the picture waits for the sound); one ahead of it
    // only at a bounded rate, since a real device cannot play faster than real time
    // while a sink that swallows sound (a file sink, a broken driver) can; one far
    // ahead is ignored.
    void offerAudio(double mediaTime, double atSeconds);
    bool followsAudio() const;          // the last offered position was followed
    void releaseAudio();                // audio finished or absent: the system clock alone

private:
    double nowLocked(double at) const;

    mutable std::mutex m_lock;
    double m_base = 0.0;       // guarded by m_lock: media time at m_baseAt
    double m_baseAt = 0.0;     // guarded by m_lock: QPC seconds
    bool m_running = false;    // guarded by m_lock
    bool m_audio = false;      // guarded by m_lock
    double m_lastOfferAt = 0.0;  // guarded by m_lock: QPC seconds of the last offer
    double m_rate = 1.0;       // guarded by m_lock
};

} // namespace avcore
