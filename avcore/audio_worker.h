#pragma once
// The audio thread: owns the sound device, feeds it the queued PCM at the clock's
// speed (pitch kept) with volume and mute applied, and steers the clock by what
// the device has played. No device
// call is made while holding the session lock: a slow driver must never stall the
// UI thread's status reads.
#include <deque>
#include <memory>
#include <vector>

#include "avcore/audio_output.h"
#include "avcore/engine_seams.h"
#include "avcore/session_state.h"
#include "avcore/time_stretch.h"

namespace avcore {

class AudioWorker {
public:
    AudioWorker(SessionState& state, const AudioControls& controls, AudioOutputFactory openOutput)
        : m_s(state), m_controls(controls), m_openOutput(std::move(openOutput)) {}
    void run();  // thread body

private:
    // Where written sound came from: from output frame outStart on, media time runs
    // from media at speed media seconds per played second.
    struct Stretch {
        uint64_t outStart;
        double media;
        double speed;
    };

    void restart();  // a seek or the first play: nothing written, nothing held
    // Moves the next queued sound (or the silence of a gap) into the stretch under the
    // session lock; false when there is nothing to move yet.
    bool takeInputLocked(double now);
    void skipLocked(uint64_t frames);
    enum class Take { Block, Nothing, Superseded };
    // Fills m_block from the stretch, feeding it from the queue as it goes.
    Take takeBlock(uint64_t generation, double now);
    // A seek, or another track, since the sound of `generation` started.
    bool staleLocked(uint64_t generation) const { return m_s.generation != generation || m_s.audioEpoch != m_epoch; }
    // Writes blocks while the device has room and the sound is due; false when the session
    // quit or seeked meanwhile.
    bool feed(uint64_t generation);
    // Steers the clock by the played position and marks the sound drained at its end.
    void follow(uint64_t played, double playedAt, uint64_t generation);
    double mediaOfOutput() const;        // media time of the next frame the stretch gives
    double mediaPlayedAt(uint64_t played);

    SessionState& m_s;
    const AudioControls& m_controls;
    AudioOutputFactory m_openOutput;
    std::unique_ptr<AudioOutput> m_out;
    std::unique_ptr<TimeStretch> m_stretch;
    std::vector<int16_t> m_block;  // the block being written
    size_t m_blockFrames = 0;
    bool m_started = false;        // something was written since the last reset
    bool m_haveBase = false;       // m_basePts is set
    double m_basePts = 0.0;        // stream time of the first frame given to the stretch since the reset
    uint64_t m_inFrames = 0;       // frames given to the stretch since the reset
    uint64_t m_epoch = 0;          // the track's start the sound belongs to (SessionState::audioEpoch)
    bool m_flushed = false;        // the end of the sound was pushed through the stretch
    bool m_stretchEmpty = false;   // ... and all of it came out
    std::deque<Stretch> m_written; // oldest first; the front covers the played position
};

} // namespace avcore
