#include "avcore/playback_session.h"

#include <algorithm>
#include <cmath>

#include "avcore/decode_worker.h"

namespace avcore {

namespace {

// Opening normally takes well under a second (the first ever GStreamer start a few).
// Past this the reader is considered hung and the file refused.
constexpr DWORD kOpenTimeoutMs = 10000;
// A decode thread that does not return from the reader in this time is let go.
constexpr DWORD kDecodeJoinMs = 3000;

} // namespace

PlaybackSession::PlaybackSession(Presenter& presenter, AudioControls& controls)
    : m_state(std::make_shared<SessionState>(presenter, controls)), m_render(*m_state), m_audio(*m_state)
{
}

PlaybackSession::~PlaybackSession()
{
    shutdown();
}

void PlaybackSession::shutdown()
{
    {
        std::lock_guard<std::mutex> lock(m_state->lock);
        m_state->quit = true;
        m_state->running = false;
        m_state->notifyAll();
    }
    m_renderThread.join();
    m_audioThread.join();
    if (!m_decodeThread.joinFor(kDecodeJoinMs)) m_decodeThread.detach();
}

bool PlaybackSession::open(OpenRequest request)
{
    if (!m_state->opened || !m_state->audioWake) return false;
    // The thread keeps the worker and the state alive itself, so it may be let go.
    auto state = m_state;
    auto decoder = std::make_shared<DecodeWorker>(*state, std::move(request));
    if (!m_decodeThread.start([state, decoder] { decoder->run(); })) return false;
    if (!WaitDispatchingSent(state->opened.get(), kOpenTimeoutMs) || !state->openOk.load()) {
        shutdown();
        return false;
    }
    m_state->clock.hold(m_state->startTime);
    // Without these two the file cannot be played properly: refuse it rather than hang.
    if (!m_renderThread.start([this] { m_render.run(); }) ||
        (m_state->info.hasAudio && !m_audioThread.start([this] { m_audio.run(); }))) {
        shutdown();
        return false;
    }
    return true;
}

void PlaybackSession::play(double seconds)
{
    if (!(seconds > 0.0)) seconds = 0.0;
    if (!m_fresh || seconds > 0.0) seek(seconds);
    m_fresh = false;
    setRunning(true);
}

void PlaybackSession::setRunning(bool running)
{
    std::lock_guard<std::mutex> lock(m_state->lock);
    m_state->running = running;
    m_state->applyClockLocked();
    m_state->notifyAll();
}

void PlaybackSession::seek(double seconds)
{
    const double d = duration();
    if (d > 0.0) seconds = std::min(seconds, d);
    seconds = std::max(seconds, 0.0);
    const double target = m_state->origin + seconds;
    m_fresh = false;
    std::lock_guard<std::mutex> lock(m_state->lock);
    ++m_state->generation;
    m_state->seekPending = true;
    m_state->seekTarget = target;
    m_state->prerolled = false;
    m_state->showNow = false;
    m_state->ended = false;
    m_state->videoEnded = m_state->audioEnded = m_state->audioDrained = false;
    m_state->frames.clear();
    m_state->audio.clear();
    m_state->audioHeadUsed = 0;
    m_state->audioQueued = 0;
    m_state->trimBefore = target;
    // The clock waits at the target until the picture there is decoded.
    m_state->clock.hold(target);
    m_state->notifyAll();
}

double PlaybackSession::position()
{
    const double d = duration();
    if (ended() && d > 0.0) return d;
    const double t = m_state->clock.now() - m_state->origin;
    if (!(t > 0.0)) return 0.0;
    return d > 0.0 ? std::min(t, d) : t;
}

bool PlaybackSession::ended()
{
    std::lock_guard<std::mutex> lock(m_state->lock);
    return m_state->ended;
}

} // namespace avcore
