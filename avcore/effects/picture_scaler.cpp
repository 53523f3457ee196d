#include "avcore/effects/picture_scaler.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

#include "avcore/effects/scale_filter.h"
#include "avcore/effects/scale_kernels.h"

namespace avfx {

namespace {

constexpr int kMaxSize = 16384;
constexpr size_t kMaxRingBytes = size_t{128} << 20;
constexpr int kMaxGroup = 4;  // target rows filtered together from the same source rows

} // namespace

struct ScalerState {
    int srcWidth = 0, srcHeight = 0, dstWidth = 0, dstHeight = 0;
    detail::FilterBank across, down;
    int quads = 0;                  // target pixels of a row in fours, the kernels' unit
    std::vector<int> at;            // across.first as byte offsets, continued over the padding to whole fours
    std::vector<int16_t> pairs;     // across.weights laid out for the row kernel
    std::vector<int16_t> downWide;  // down.weights, each sixteen times for the column kernel
    std::vector<int16_t> ring;      // the source rows (filtered across) the current target row needs
    std::vector<int> ringHolds;     // which source row each ring slot holds, -1 for none
    std::vector<const int16_t*> rows;
    std::vector<uint8_t> narrowRow; // a source row narrower than the taps, padded
    detail::ScaleKernels kernels{};

    bool prepare(int sw, int sh, int dw, int dh);
    const int16_t* acrossRow(const uint8_t* src, int srcStride, int row);
    void downRows(int y, int count, uint8_t* dst, int dstStride);
};

bool ScalerState::prepare(int sw, int sh, int dw, int dh)
{
    kernels = detail::selectScaleKernels();  // cheap, and follows the tests' switch
    if (sw == srcWidth && sh == srcHeight && dw == dstWidth && dh == dstHeight) return !ring.empty();
    srcWidth = sw, srcHeight = sh, dstWidth = dw, dstHeight = dh;
    across = detail::buildFilterBank(sw, dw, 2);  // the row kernel takes taps in pairs
    down = detail::buildFilterBank(sh, dh, 1);
    quads = (dw + 3) / 4;
    const size_t rowValues = static_cast<size_t>(quads) * 16;
    ring.clear();
    if (rowValues * down.taps * sizeof(int16_t) > kMaxRingBytes) return false;
    const int padded = 4 * quads, taps = across.taps;
    at.resize(static_cast<size_t>(padded));
    pairs.assign(static_cast<size_t>(padded) * taps * 4, 0);
    for (int i = 0; i < padded; ++i) {
        const int from = std::min(i, dw - 1);  // the padding repeats the last pixel
        at[static_cast<size_t>(i)] = 4 * across.first[static_cast<size_t>(from)];
        const int16_t* w = &across.weights[static_cast<size_t>(from) * taps];
        int16_t* out = &pairs[static_cast<size_t>(i / 2) * taps * 8 + (i & 1) * 8];
        for (int k = 0; k < taps; k += 2, out += 16)
            for (int ch = 0; ch < 4; ++ch) {
                out[2 * ch] = w[k];
                out[2 * ch + 1] = w[k + 1];
            }
    }
    downWide.resize(down.weights.size() * 16);
    for (size_t k = 0; k < down.weights.size(); ++k)
        std::fill_n(&downWide[16 * k], 16, down.weights[k]);
    ring.assign(rowValues * down.taps, 0);
    ringHolds.assign(static_cast<size_t>(down.taps), -1);
    rows.resize(static_cast<size_t>(down.taps));
    narrowRow.assign(sw < taps ? static_cast<size_t>(taps) * 4 : 0, 0);
    return true;
}

const int16_t* ScalerState::acrossRow(const uint8_t* src, int srcStride, int row)
{
    const size_t slot = static_cast<size_t>(row % down.taps);
    int16_t* out = &ring[slot * static_cast<size_t>(quads) * 16];
    if (ringHolds[slot] == row) return out;
    const uint8_t* in = src + static_cast<ptrdiff_t>(row) * srcStride;
    if (srcWidth < across.taps) {  // the taps past the edge weigh nothing, but are read
        std::memcpy(narrowRow.data(), in, static_cast<size_t>(srcWidth) * 4);
        in = narrowRow.data();
    }
    kernels.horizontal(in, at.data(), pairs.data(), across.taps, quads, out);
    ringHolds[slot] = row;
    return out;
}

void ScalerState::downRows(int y, int count, uint8_t* dst, int dstStride)
{
    const int taps = down.taps;
    const int16_t* weights = &downWide[static_cast<size_t>(y) * taps * 16];
    uint8_t* outs[kMaxGroup];
    for (int g = 0; g < count; ++g)
        outs[g] = dst + static_cast<ptrdiff_t>(y + g) * dstStride;
    const int whole = dstWidth / 4;  // chunks of 16 bytes inside the target row
    const auto part = [&](int g, int from, int to, uint8_t* at) {
        const int16_t* w = weights + 16 * taps * g;
        if (taps > 16)
            detail::scaleColumnsManyTaps(rows.data(), w, taps, from, to, at);
        else
            detail::scaleChunksSse2(rows.data(), w, taps, from, to, at);
    };
    if (taps > 16)
        for (int g = 0; g < count; ++g) part(g, 0, whole, outs[g]);
    else
        kernels.vertical(rows.data(), weights, taps, whole, outs, count);
    if (whole == quads) return;
    for (int g = 0; g < count; ++g) {
        uint8_t last[16];
        part(g, whole, quads, last);
        std::memcpy(outs[g] + 16 * whole, last, static_cast<size_t>(dstWidth % 4) * 4);
    }
}

PictureScaler::PictureScaler() : m_state(std::make_unique<ScalerState>()) {}
PictureScaler::~PictureScaler() = default;
PictureScaler::PictureScaler(PictureScaler&&) noexcept = default;
PictureScaler& PictureScaler::operator=(PictureScaler&&) noexcept = default;

bool PictureScaler::scale(const uint8_t* src, int srcWidth, int srcHeight, int srcStride, uint8_t* dst,
                          int dstWidth, int dstHeight, int dstStride)
{
    const auto usable = [](int n) { return n >= 1 && n <= kMaxSize; };
    if (!src || !dst || !usable(srcWidth) || !usable(srcHeight) || !usable(dstWidth) || !usable(dstHeight))
        return false;
    if (srcWidth == dstWidth && srcHeight == dstHeight) {
        for (int y = 0; y < dstHeight; ++y)
            std::memcpy(dst + static_cast<ptrdiff_t>(y) * dstStride, src + static_cast<ptrdiff_t>(y) * srcStride,
                        static_cast<size_t>(dstWidth) * 4);
        return true;
    }
    if (!m_state) m_state = std::make_unique<ScalerState>();
    ScalerState& s = *m_state;
    if (!s.prepare(srcWidth, srcHeight, dstWidth, dstHeight)) return false;
    std::fill(s.ringHolds.begin(), s.ringHolds.end(), -1);  // a new picture
    for (int y = 0; y < dstHeight;) {
        const int first = s.down.first[static_cast<size_t>(y)];
        int count = 1;
        while (count < kMaxGroup && y + count < dstHeight && s.down.first[static_cast<size_t>(y + count)] == first)
            ++count;
        for (int k = 0; k < s.down.taps; ++k)
            s.rows[static_cast<size_t>(k)] = s.acrossRow(src, srcStride, std::min(first + k, srcHeight - 1));
        s.downRows(y, count, dst, dstStride);
        y += count;
    }
    return true;
}

} // namespace avfx
