#pragma once
// The audio thread: owns the sound device, feeds it the queued PCM with volume
// and mute applied, and steers the clock by what the device has played.
#include <memory>
#include <vector>

#include "avcore/audio_output.h"
#include "avcore/session_state.h"

namespace avcore {

class AudioWorker {
public:
    explicit AudioWorker(SessionState& state) : m_s(state) {}
    void run();  // thread body

private:
    // Builds the next block under the session lock; false when there is nothing to write yet.
    bool takeBlockLocked(double now);
    void skipLocked(uint64_t frames);

    SessionState& m_s;
    std::unique_ptr<AudioOutput> m_out;
    std::vector<int16_t> m_block;  // the block being written
    size_t m_blockFrames = 0;
    bool m_started = false;        // something was written since the last reset
    double m_basePts = 0.0;        // stream time of the first frame written since the reset
};

} // namespace avcore
