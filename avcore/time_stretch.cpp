#include "avcore/time_stretch.h"

#include <algorithm>
#include <cmath>

namespace avcore {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kPiecesPerSecond = 100;  // 10 ms hops: 20 ms pieces
constexpr int kSearchPerSecond = 200;  // +-5 ms: a full period of anything above 100 Hz
constexpr size_t kCoarse = 4;          // the first search looks at every 4th place and sample

int16_t ToSample(float v)
{
    return static_cast<int16_t>(std::lround(std::clamp(v, -32768.0f, 32767.0f)));
}

} // namespace

TimeStretch::TimeStretch(int rate, int channels)
    : m_channels(std::max(channels, 1)),
      m_hop(static_cast<size_t>(std::max(rate / kPiecesPerSecond, 16))),
      m_search(static_cast<size_t>(std::max(rate / kSearchPerSecond, 8)))
{
    // A periodic Hann window: its two halves add up to exactly one.
    m_window.resize(2 * m_hop);
    for (size_t i = 0; i < m_window.size(); ++i)
        m_window[i] = static_cast<float>(0.5 - 0.5 * std::cos(2.0 * kPi * i / m_window.size()));
}

void TimeStretch::setSpeed(double speed)
{
    if (std::isnan(speed)) return;
    m_speed = std::clamp(speed, kMinSpeed, kMaxSpeed);
}

void TimeStretch::reset()
{
    m_in.clear();
    m_mono.clear();
    m_inStart = 0;
    m_nominal = 0.0;
    m_prevEnd = 0;
    m_havePrev = false;
    m_tail.clear();
    m_ready.clear();
    m_readyUsed = 0;
    m_readySource = 0.0;
}

void TimeStretch::push(const int16_t* samples, size_t frames)
{
    const size_t ch = static_cast<size_t>(m_channels);
    m_in.reserve(m_in.size() + frames * ch);
    for (size_t f = 0; f < frames; ++f) {
        float mono = 0.0f;
        for (size_t c = 0; c < ch; ++c) {
            const float v = samples[f * ch + c];
            m_in.push_back(v);
            mono += v;
        }
        m_mono.push_back(mono);
    }
}

void TimeStretch::pushSilence(size_t frames)
{
    m_in.insert(m_in.end(), frames * static_cast<size_t>(m_channels), 0.0f);
    m_mono.insert(m_mono.end(), frames, 0.0f);
}

size_t TimeStretch::bestOffset(size_t nominal) const
{
    const size_t lo = std::max(nominal > m_search ? nominal - m_search : 0, m_inStart);
    const size_t hi = nominal + m_search;
    const float* ref = m_mono.data() + (m_prevEnd - m_inStart);
    // Normalised cross-correlation with the previous piece's natural sequel.
    auto score = [&](size_t at, size_t step) {
        const float* x = m_mono.data() + (at - m_inStart);
        double dot = 0.0, energy = 1e-9;
        for (size_t j = 0; j < m_hop; j += step) {
            dot += static_cast<double>(x[j]) * ref[j];
            energy += static_cast<double>(x[j]) * x[j];
        }
        return dot / std::sqrt(energy);
    };
    size_t best = lo;
    double bestScore = -1e300;
    for (size_t at = lo; at <= hi; at += kCoarse) {
        const double s = score(at, kCoarse);
        if (s > bestScore) bestScore = s, best = at;
    }
    const size_t fineLo = std::max(best > kCoarse ? best - kCoarse : 0, lo);
    const size_t fineHi = std::min(best + kCoarse, hi);
    bestScore = -1e300;
    for (size_t at = fineLo; at <= fineHi; ++at) {
        const double s = score(at, 1);
        if (s > bestScore) bestScore = s, best = at;
    }
    return best;
}

bool TimeStretch::makePiece()
{
    const size_t nominal = static_cast<size_t>(std::llround(std::max(m_nominal, 0.0)));
    // At normal pace the sequel itself is taken: the output is then the input unchanged.
    const bool exact = m_havePrev && m_speed == 1.0;
    if ((exact ? m_prevEnd : nominal + m_search) + 2 * m_hop > pushed()) return false;
    const size_t at = exact ? m_prevEnd : m_havePrev ? bestOffset(nominal) : std::max(nominal, m_inStart);

    const size_t ch = static_cast<size_t>(m_channels);
    const float* x = m_in.data() + (at - m_inStart) * ch;
    m_ready.resize(m_hop * ch);
    m_tail.resize(m_hop * ch, 0.0f);  // the first piece fades in from silence
    for (size_t f = 0; f < m_hop; ++f) {
        for (size_t c = 0; c < ch; ++c) {
            const size_t i = f * ch + c;
            m_ready[i] = ToSample(m_tail[i] + m_window[f] * x[i]);
            m_tail[i] = m_window[m_hop + f] * x[m_hop * ch + i];
        }
    }
    m_readyUsed = 0;
    m_readySource = static_cast<double>(at);
    m_readyStep = m_speed;
    m_prevEnd = at + m_hop;
    m_havePrev = true;
    m_nominal = exact ? static_cast<double>(m_prevEnd) : m_nominal + m_hop * m_speed;

    // Keep what the next search and the sequel may still look at.
    const double keepFrom = std::min(m_nominal - static_cast<double>(m_search), static_cast<double>(m_prevEnd));
    const size_t drop = keepFrom > static_cast<double>(m_inStart)
                            ? std::min(static_cast<size_t>(keepFrom) - m_inStart, m_mono.size()) : 0;
    m_in.erase(m_in.begin(), m_in.begin() + static_cast<std::ptrdiff_t>(drop * ch));
    m_mono.erase(m_mono.begin(), m_mono.begin() + static_cast<std::ptrdiff_t>(drop));
    m_inStart += drop;
    return true;
}

size_t TimeStretch::pull(int16_t* out, size_t maxFrames)
{
    const size_t ch = static_cast<size_t>(m_channels);
    size_t done = 0;
    while (done < maxFrames) {
        const size_t readyFrames = m_ready.size() / ch;
        if (m_readyUsed >= readyFrames) {
            if (!makePiece()) break;
            continue;
        }
        const size_t n = std::min(maxFrames - done, readyFrames - m_readyUsed);
        std::copy_n(m_ready.data() + m_readyUsed * ch, n * ch, out + done * ch);
        m_readyUsed += n;
        done += n;
    }
    return done;
}

double TimeStretch::nextOutputSource() const
{
    if (m_readyUsed < m_ready.size() / static_cast<size_t>(m_channels))
        return m_readySource + m_readyUsed * m_readyStep;
    return m_havePrev ? (m_speed == 1.0 ? static_cast<double>(m_prevEnd) : m_nominal) : m_nominal;
}

} // namespace avcore
