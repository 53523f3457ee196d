#pragma once
// The frequency of a pure tone in one channel of interleaved 16-bit sound, from its
// rising zero crossings (placed between samples), taken per block and the median
// of the blocks kept, so a splice or a silent pad here and there does not count.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace avtest {

// 0 when no block of blockFrames carries a whole tone (no silence run longer than a few samples).
inline double TonePitch(const std::vector<int16_t>& samples, int channels, int rate, size_t blockFrames = 4410)
{
    const size_t frames = samples.size() / channels;
    std::vector<double> found;
    for (size_t b = 0; b + blockFrames <= frames; b += blockFrames) {
        double first = -1.0, last = -1.0;
        int crossings = 0, quietRun = 0, longestQuiet = 0;
        for (size_t i = b + 1; i < b + blockFrames; ++i) {
            const double a = samples[(i - 1) * channels], c = samples[i * channels];
            quietRun = std::abs(c) < 8 ? quietRun + 1 : 0;
            longestQuiet = std::max(longestQuiet, quietRun);
            if (a < 0 && c >= 0) {
                const double at = (i - 1) + (-a) / (c - a);
                if (first < 0) first = at;
                last = at;
                ++crossings;
            }
        }
        if (longestQuiet > 4 || crossings < 3) continue;
        found.push_back((crossings - 1) * rate / (last - first));
    }
    if (found.empty()) return 0.0;
    std::nth_element(found.begin(), found.begin() + found.size() / 2, found.end());
    return found[found.size() / 2];
}

} // namespace avtest
