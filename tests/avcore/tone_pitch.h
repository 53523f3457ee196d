#pragma once
// The sound the ALSA file sink captured, and the frequency of a pure tone in one channel of interleaved 16-bit sound, from its
// rising zero crossings (placed between samples), taken per block and the median
// of the blocks kept, so a splice or a silent pad here and there does not count.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace avtest {

// The samples the sink wrote, from sample `from` on. It truncates its file whenever the
// device opens, so after a close the file holds exactly the sound of that one playback.
inline std::vector<int16_t> ReadSamples(const std::wstring& path, size_t from = 0)
{
    std::vector<int16_t> samples;
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f) return samples;
    fseek(f, static_cast<long>(from * sizeof(int16_t)), SEEK_SET);
    int16_t buf[4096];
    for (size_t n; (n = fread(buf, sizeof(int16_t), 4096, f)) > 0;) samples.insert(samples.end(), buf, buf + n);
    fclose(f);
    return samples;
}

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
