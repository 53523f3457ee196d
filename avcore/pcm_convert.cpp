#include "avcore/pcm_convert.h"

#include <algorithm>
#include <cmath>

namespace avcore {

namespace {

constexpr float kCentreShare = 0.7071f;  // -3 dB, as a centre or surround goes into a stereo pair

int16_t ToSample(float v)
{
    return static_cast<int16_t>(std::lround(std::clamp(v, -32768.0f, 32767.0f)));
}

} // namespace

void PcmConverter::configure(int inRate, int inChannels, int outRate, int outChannels)
{
    m_inRate = inRate;
    m_inChannels = inChannels;
    m_outRate = outRate;
    m_outChannels = outChannels;
    reset();
}

void PcmConverter::reset()
{
    m_last.clear();
    m_phase = 0.0;
}

bool PcmConverter::passThrough() const
{
    return m_inRate == m_outRate && m_inChannels == m_outChannels;
}

// Mono spreads to every channel; a wider layout folds into stereo with its centre and
// surrounds (front L, R, centre, LFE, surround L, R, ...); into mono everything averages.
void PcmConverter::mix(const int16_t* in, float* out) const
{
    const int ic = m_inChannels, oc = m_outChannels;
    if (ic == oc || ic == 1) {
        for (int c = 0; c < oc; ++c) out[c] = in[ic == 1 ? 0 : c];
        return;
    }
    if (oc == 1) {
        float sum = 0.0f;
        for (int c = 0; c < ic; ++c) sum += in[c];
        out[0] = sum / static_cast<float>(ic);
        return;
    }
    for (int c = 0; c < oc; ++c) out[c] = c < ic ? in[c] : 0.0f;
    if (oc == 2 && ic >= 3) {
        const float centre = kCentreShare * in[2];
        const float left = ic >= 5 ? kCentreShare * in[4] : 0.0f;
        const float right = ic >= 6 ? kCentreShare * in[5] : left;
        // Scaled so a full-scale signal in every channel stays within range.
        const float scale = 1.0f / (1.0f + kCentreShare + (ic >= 5 ? kCentreShare : 0.0f));
        out[0] = (out[0] + centre + left) * scale;
        out[1] = (out[1] + centre + right) * scale;
    }
}

void PcmConverter::convert(const int16_t* in, size_t frames, std::vector<int16_t>& out)
{
    if (frames == 0 || m_inRate <= 0 || m_outRate <= 0 || m_inChannels <= 0 || m_outChannels <= 0) return;
    if (passThrough()) {
        out.insert(out.end(), in, in + frames * static_cast<size_t>(m_inChannels));
        return;
    }
    const size_t oc = static_cast<size_t>(m_outChannels);
    // The chunk mixed, behind the last frame of the one before.
    const size_t carried = m_last.empty() ? 0 : 1;
    m_mixed.resize((carried + frames) * oc);
    std::copy(m_last.begin(), m_last.end(), m_mixed.begin());
    for (size_t i = 0; i < frames; ++i)
        mix(in + i * static_cast<size_t>(m_inChannels), m_mixed.data() + (carried + i) * oc);
    const size_t count = carried + frames;
    const double step = static_cast<double>(m_inRate) / m_outRate;
    // A frame needs the one after it: the last waits for the next chunk.
    double pos = m_phase;
    for (; pos + 1.0 < static_cast<double>(count); pos += step) {
        const size_t i = static_cast<size_t>(pos);
        const float t = static_cast<float>(pos - static_cast<double>(i));
        const float* a = m_mixed.data() + i * oc;
        for (size_t c = 0; c < oc; ++c) out.push_back(ToSample(a[c] + (a[oc + c] - a[c]) * t));
    }
    m_phase = pos - static_cast<double>(count - 1);
    m_last.assign(m_mixed.end() - static_cast<std::ptrdiff_t>(oc), m_mixed.end());
}

} // namespace avcore
