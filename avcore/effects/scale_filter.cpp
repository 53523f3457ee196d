#include "avcore/effects/scale_filter.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>

namespace avfx::detail {
namespace {

// Weights over source indices lo, lo+1, ... of one target pixel, in real numbers.
struct Span {
    int lo = 0;
    std::vector<double> w;
};

// The source pixels [i*r, (i+1)*r) covers, each weighted by the share it covers.
Span areaSpan(int i, double r)
{
    const double from = i * r, to = (i + 1) * r;
    Span s;
    s.lo = static_cast<int>(std::floor(from + 1e-9));  // no sliver of a pixel from rounding
    const int hi = static_cast<int>(std::ceil(to - 1e-9)) - 1;
    for (int k = s.lo; k <= hi; ++k)
        s.w.push_back((std::min<double>(k + 1, to) - std::max<double>(k, from)) / r);
    return s;
}

// Catmull-Rom around the source position under the centre of target pixel i.
Span cubicSpan(int i, double r)
{
    const double u = (i + 0.5) * r - 0.5;
    const double base = std::floor(u), t = u - base;
    const double t2 = t * t, t3 = t2 * t;
    Span s;
    s.lo = static_cast<int>(base) - 1;
    s.w = {(-t3 + 2 * t2 - t) / 2, (3 * t3 - 5 * t2 + 2) / 2, (-3 * t3 + 4 * t2 + t) / 2, (t3 - t2) / 2};
    return s;
}

// Folds indices outside [0, n) onto the edge pixels and drops zero weights at the end. Those
// at the start stay: neighbouring target pixels then keep sharing their first source pixel.
Span clampToSource(const Span& s, int n)
{
    const int lo = std::clamp(s.lo, 0, n - 1);
    const int hi = std::clamp(s.lo + static_cast<int>(s.w.size()) - 1, 0, n - 1);
    Span c;
    c.lo = lo;
    c.w.assign(static_cast<size_t>(hi - lo + 1), 0.0);
    for (size_t k = 0; k < s.w.size(); ++k)
        c.w[static_cast<size_t>(std::clamp(s.lo + static_cast<int>(k), 0, n - 1) - lo)] += s.w[k];
    while (c.w.size() > 1 && std::fabs(c.w.back()) < 1e-9)
        c.w.pop_back();
    return c;
}

// Rounds to fixed point and gives the rounding's remainder to the largest weight, so flat
// areas stay flat.
void quantize(const Span& s, int16_t* out)
{
    int sum = 0;
    size_t largest = 0;
    for (size_t k = 0; k < s.w.size(); ++k) {
        out[k] = static_cast<int16_t>(std::lround(s.w[k] * (1 << kWeightBits)));
        sum += out[k];
        if (std::fabs(s.w[k]) > std::fabs(s.w[largest])) largest = k;
    }
    out[largest] = static_cast<int16_t>(out[largest] + (1 << kWeightBits) - sum);
}

} // namespace

FilterBank buildFilterBank(int sourceSize, int targetSize, int tapMultiple)
{
    FilterBank bank;
    if (sourceSize <= 0 || targetSize <= 0) return bank;
    const double r = static_cast<double>(sourceSize) / targetSize;
    std::vector<Span> spans(static_cast<size_t>(targetSize));
    int widest = 1;
    for (int i = 0; i < targetSize; ++i) {
        Span s;
        if (sourceSize == targetSize)
            s = Span{i, {1.0}};
        else
            s = clampToSource(sourceSize > targetSize ? areaSpan(i, r) : cubicSpan(i, r), sourceSize);
        widest = std::max(widest, static_cast<int>(s.w.size()));
        spans[static_cast<size_t>(i)] = std::move(s);
    }
    bank.taps = (widest + tapMultiple - 1) / tapMultiple * tapMultiple;
    bank.first.resize(static_cast<size_t>(targetSize));
    bank.weights.assign(static_cast<size_t>(targetSize) * bank.taps, 0);
    for (int i = 0; i < targetSize; ++i) {
        const Span& s = spans[static_cast<size_t>(i)];
        // Moved back where needed so that all taps stay inside the source.
        const int first = std::max(0, std::min(s.lo, sourceSize - bank.taps));
        bank.first[static_cast<size_t>(i)] = first;
        quantize(s, &bank.weights[static_cast<size_t>(i) * bank.taps + (s.lo - first)]);
    }
    return bank;
}

} // namespace avfx::detail
