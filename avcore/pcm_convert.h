#pragma once
// Sound of one audio track brought to the format the device was opened with: another
// track of the same file may have its own rate and channels, and the platform's reader
// does not always convert them. Channels are mixed, the rate is changed by linear
// interpolation, carried across chunks so a stream converts as one piece.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace avcore {

class PcmConverter {
public:
    // Rates in Hz, channels 1..8; the same format in and out passes samples through.
    void configure(int inRate, int inChannels, int outRate, int outChannels);
    void reset();  // after a seek: the next chunk does not continue the last one
    bool passThrough() const;
    // Interleaved 16-bit frames in, interleaved frames of the output format appended to out.
    void convert(const int16_t* in, size_t frames, std::vector<int16_t>& out);

private:
    void mix(const int16_t* in, float* out) const;  // one frame

    int m_inRate = 0, m_inChannels = 0, m_outRate = 0, m_outChannels = 0;
    std::vector<float> m_last;  // the last mixed frame of the chunk before
    double m_phase = 0.0;       // where the next output frame lies, from m_last
    std::vector<float> m_mixed;
};

} // namespace avcore
