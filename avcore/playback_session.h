#pragma once
// One open file: the shared state and the decode, render and audio threads.
// Created by open, destroyed by close; its methods are called on the UI thread.
#include <memory>

#include "avcore/call_budget.h"
#include "avcore/engine_seams.h"
#include "avcore/session_state.h"
#include "avcore/win_handle.h"

namespace avcore {

class Presenter;

class PlaybackSession {
public:
    PlaybackSession(std::shared_ptr<Presenter> presenter, std::shared_ptr<const AudioControls> controls,
                    EngineSeams seams);
    ~PlaybackSession();  // shutdown() with a local call's budget
    PlaybackSession(const PlaybackSession&) = delete;
    PlaybackSession& operator=(const PlaybackSession&) = delete;

    // Waits until the first picture is decoded, keeping the caller's windows painted;
    // false when the file is not playable or the platform did not answer in time.
    bool open(OpenRequest request, const Deadline& deadline);
    // Stops every thread. The decode thread is always joined (its decoder process is
    // killed if it is in a command); a render or audio thread still inside a driver at
    // the deadline is let go: it holds only its own references and ends when the driver returns.
    void shutdown(const Deadline& deadline);

    void play(double seconds);     // from a position (seconds from the start)
    void setRunning(bool running); // pause holds the clock, the picture and the sound
    void seek(double seconds);     // shows the picture at that position, also while paused
    void setSpeed(double speed);   // media seconds per second; the sound keeps its pitch
    // Switches the sound to track `number` (from 1) where it plays now; false when the
    // file has no such track. The decode thread switches it with a seek to the position.
    bool selectAudioTrack(int number);
    int audioTrack();              // 0 without sound

    double position();  // seconds from the start, within 0..duration
    double duration() const { return m_state->info.duration; }
    bool ended();       // every picture shown and every sample played
    bool decoderLost() const { return m_state->decoderLost.load(); }

    const SessionState& state() const { return *m_state; }

private:
    std::shared_ptr<SessionState> m_state;
    std::shared_ptr<Presenter> m_presenter;
    std::shared_ptr<const AudioControls> m_controls;
    EngineSeams m_seams;
    // The session's own: a worker let go must not keep the picture memory alive.
    std::shared_ptr<FramePool> m_pool = std::make_shared<FramePool>();
    WorkerThread m_decodeThread;
    WorkerThread m_renderThread;
    WorkerThread m_audioThread;
    bool m_fresh = true;  // nothing played since open: a play from 0 needs no seek
};

} // namespace avcore
