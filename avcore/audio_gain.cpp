#include "avcore/audio_gain.h"

#include <cmath>

namespace avcore {

float VolumeToGain(double percent)
{
    if (!(percent > 0.0)) return 0.0f;  // also NaN
    const double x = percent >= 100.0 ? 1.0 : percent / 100.0;
    return static_cast<float>(x * x * x);
}

namespace {

int16_t Scale(int16_t s, int32_t q16)
{
    // Rounded Q16 product; |gain| <= 1 keeps it within 16 bits.
    const int32_t v = (static_cast<int32_t>(s) * q16 + (1 << 15)) >> 16;
    return static_cast<int16_t>(v);
}

int32_t ToQ16(float gain)
{
    if (!(gain > 0.0f)) return 0;
    if (gain >= 1.0f) return 1 << 16;
    return static_cast<int32_t>(std::lround(gain * 65536.0f));
}

} // namespace

void ApplyGain(int16_t* samples, size_t frames, int channels, float left, float right)
{
    if (!samples || channels <= 0) return;
    const int32_t ql = ToQ16(left), qr = ToQ16(right), qm = ToQ16((left + right) * 0.5f);
    if (ql == (1 << 16) && qr == (1 << 16)) return;
    if (channels == 1) {
        for (size_t i = 0; i < frames; ++i) samples[i] = Scale(samples[i], qm);
        return;
    }
    for (size_t f = 0; f < frames; ++f) {
        int16_t* s = samples + f * channels;
        s[0] = Scale(s[0], ql);
        s[1] = Scale(s[1], qr);
        for (int c = 2; c < channels; ++c) s[c] = Scale(s[c], qm);
    }
}

} // namespace avcore
