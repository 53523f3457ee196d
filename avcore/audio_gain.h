#pragma once
// Volume as the listener hears it: percent to linear gain, applied to 16-bit PCM.
#include <cstddef>
#include <cstdint>

namespace avcore {

// Cubic taper, gain = (percent / 100)^3: equal slider steps sound like roughly equal
// loudness steps (50% = -18 dB, 25% = -36 dB, 10% = -60 dB), 0 is silence and
// 100 is full scale. Values above 100 count as 100, below 0 (and NaN) as 0.
float VolumeToGain(double percent);

// Scales interleaved samples in place: channel 0 by left, channel 1 by right, any
// further channels by the mean of the two. Mono takes the mean as well.
void ApplyGain(int16_t* samples, size_t frames, int channels, float left, float right);

} // namespace avcore
