#pragma once
// The audio thread: owns the sound device, feeds it the queued PCM with volume
// and mute applied, and steers the clock by what the device has played. No device
// call is made while holding the session lock: a slow driver must never stall the
// UI thread's status reads.
#include <memory>
#include <vector>

#include "avcore/audio_output.h"
#include "avcore/engine_seams.h"
#include "avcore/session_state.h"

namespace avcore {

class AudioWorker {
public:
    AudioWorker(SessionState& state, const AudioControls& controls, AudioOutputFactory openOutput)
        : m_s(state), m_controls(controls), m_openOutput(std::move(openOutput)) {}
    void run();  // thread body

private:
    // Builds the next block under the session lock; false when there is nothing to write yet.
    bool takeBlockLocked(double now);
    void skipLocked(uint64_t frames);
    // Writes blocks while the device has room and the sound is due; false when the session
    // quit or seeked meanwhile.
    bool feed(uint64_t generation);
    // Steers the clock by the played position and marks the sound drained at its end.
    void follow(uint64_t played, double playedAt, uint64_t generation);

    SessionState& m_s;
    const AudioControls& m_controls;
    AudioOutputFactory m_openOutput;
    std::unique_ptr<AudioOutput> m_out;
    std::vector<int16_t> m_block;  // the block being written
    size_t m_blockFrames = 0;
    bool m_started = false;        // something was written since the last reset
    double m_basePts = 0.0;        // stream time of the first frame written since the reset
};

} // namespace avcore
