#include "avcore/playback_session.h"

#include <algorithm>
#include <cmath>

#include "avcore/audio_worker.h"
#include "avcore/decode_worker.h"
#include "avcore/render_worker.h"

namespace avcore {

namespace {

// Kept back from an open's wait for the shutdown of a refused file.
constexpr DWORD kShutdownReserveMs = 150;
// A worker that is not inside the platform ends within a picture's conversion; one
// that takes longer than this is stuck there, and waiting on gains nothing.
constexpr DWORD kJoinMs = 500;

// Joins the thread within the deadline, or lets it go.
void JoinOrLetGo(WorkerThread& thread, const Deadline& deadline)
{
    if (!thread.handle()) return;
    const bool joined = thread.joinFor(std::min(kJoinMs, deadline.remainingMs()));
    CountCallWait(joined);
    if (!joined) thread.detach();
}

} // namespace

PlaybackSession::PlaybackSession(std::shared_ptr<Presenter> presenter, std::shared_ptr<const AudioControls> controls,
                                 EngineSeams seams)
    : m_state(std::make_shared<SessionState>()), m_presenter(std::move(presenter)), m_controls(std::move(controls)),
      m_seams(std::move(seams))
{
}

PlaybackSession::~PlaybackSession()
{
    shutdown(Deadline(kLocalCallBudgetMs));
}

void PlaybackSession::shutdown(const Deadline& deadline)
{
    {
        std::lock_guard<std::mutex> lock(m_state->lock);
        m_state->quit = true;
        m_state->running = false;
        // A thread let go keeps the state: what it holds must not be the file's worth of pictures.
        m_state->frames.clear();
        m_state->audio.clear();
        m_state->audioQueued = 0;
        m_state->notifyAll();
    }
    // The decoder process is killed if it is in a command, so the decode thread comes
    // back at once: it is never let go.
    SetEvent(m_state->cancelled.get());
    JoinOrLetGo(m_renderThread, deadline);
    JoinOrLetGo(m_audioThread, deadline);
    if (!m_decodeThread.handle()) return;
    m_decodeThread.join();
    CountCallWait(true);
}

bool PlaybackSession::open(OpenRequest request, const Deadline& deadline)
{
    if (!m_state->opened || !m_state->audioWake || !m_state->cancelled) return false;
    // Each thread holds what it uses, so it may be let go.
    auto state = m_state;
    auto decoder = std::make_shared<DecodeWorker>(*state, std::move(request), m_pool, m_seams.reader);
    if (!m_decodeThread.start([state, decoder] { decoder->run(); })) return false;
    const bool answered = WaitKeepingWindowsPainted(state->opened.get(), deadline.remainingMs(kShutdownReserveMs));
    CountCallWait(answered);
    if (!answered || !state->openOk.load()) {
        shutdown(deadline);
        return false;
    }
    m_state->clock.hold(m_state->startTime);
    auto render = std::make_shared<RenderWorker>(*state, *m_presenter);
    auto presenter = m_presenter;
    auto audio = std::make_shared<AudioWorker>(*state, *m_controls, m_seams.audio);
    auto controls = m_controls;
    // Without these two the file cannot be played properly: refuse it rather than hang.
    if (!m_renderThread.start([state, presenter, render] { render->run(); }) ||
        (m_state->info.hasAudio && !m_audioThread.start([state, controls, audio] { audio->run(); }))) {
        shutdown(deadline);
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
    m_state->beginSeekLocked(target);
}

void PlaybackSession::setSpeed(double speed)
{
    m_state->clock.setRate(speed);
    m_state->notifyAll();  // the render thread re-reads the clock
}

bool PlaybackSession::selectAudioTrack(int number)
{
    if (number < 1 || number > m_state->info.audioTrackCount) return false;
    std::lock_guard<std::mutex> lock(m_state->lock);
    if (number == m_state->audioTrack) return true;
    // The decode thread starts the track at the playing position; the pictures go on.
    m_state->audioTrack = number;
    m_state->audioTrackWanted = number;
    m_state->notifyAll();
    return true;
}

int PlaybackSession::audioTrack()
{
    if (m_state->info.audioTrackCount == 0) return 0;
    std::lock_guard<std::mutex> lock(m_state->lock);
    return m_state->audioTrack;
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
