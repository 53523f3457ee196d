#pragma once
// One open file: the shared state and the decode, render and audio threads.
// Created by open, destroyed by close; its methods are called on the UI thread.
#include <memory>

#include "avcore/audio_worker.h"
#include "avcore/render_worker.h"
#include "avcore/session_state.h"
#include "avcore/win_handle.h"

namespace avcore {

class PlaybackSession {
public:
    PlaybackSession(Presenter& presenter, AudioControls& controls);
    ~PlaybackSession();  // stops and joins every thread
    PlaybackSession(const PlaybackSession&) = delete;
    PlaybackSession& operator=(const PlaybackSession&) = delete;

    // Blocks until the first picture is decoded; false when the file is not playable.
    bool open(OpenRequest request);

    void play(double seconds);     // from a position (seconds from the start)
    void setRunning(bool running); // pause holds the clock, the picture and the sound
    void seek(double seconds);     // shows the picture at that position, also while paused

    double position();  // seconds from the start, within 0..duration
    double duration() const { return m_state->info.duration; }
    bool ended();       // every picture shown and every sample played

    const SessionState& state() const { return *m_state; }

private:
    void shutdown();

    // Shared with the decode thread, which may outlive the session when Media
    // Foundation never returns (seen with broken files under Wine): it is then let go.
    std::shared_ptr<SessionState> m_state;
    RenderWorker m_render;
    AudioWorker m_audio;
    WorkerThread m_decodeThread;
    WorkerThread m_renderThread;
    WorkerThread m_audioThread;
    bool m_fresh = true;  // nothing played since open: a play from 0 needs no seek
};

} // namespace avcore
