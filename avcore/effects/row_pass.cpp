#include "avcore/effects/row_pass.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "avcore/effects/row_kernels.h"

namespace avfx::detail {
namespace {

constexpr int kBlockTerms = 48;  // chroma terms per 16-pixel block: B, G, R x 16

long long magnitude(int v) { return std::llabs(static_cast<long long>(v)); }

// Columns [x0, x1) that need converting in row y, x0 on a block boundary.
void rowSpan(const Plan& p, int y, int& x0, int& x1)
{
    if (!p.shape.active()) {
        x0 = 0;
        x1 = p.width;
        return;
    }
    const ShapeRow& r = p.shape.rows[y];
    x0 = r.outerL / kBlock * kBlock;
    x1 = r.outerR;
}

// Working memory of one call, so concurrent calls on disjoint bands share nothing.
class RowPass {
public:
    RowPass(const Plan& p, const PlaneView& src, PixelLayout layout)
        : m_p(p), m_src(src), m_nv12(layout == PixelLayout::NV12), m_cw((p.width + 1) / 2),
          m_ch((p.height + 1) / 2), m_store(static_cast<size_t>((p.width + kBlock - 1) / kBlock + 1) * kBlockTerms + 8),
          m_samples(2 * (static_cast<size_t>(m_cw) + 32))
    {
        m_u = m_samples.data();
        m_v = m_u + m_cw + 32;
        const auto addr = reinterpret_cast<uintptr_t>(m_store.data());
        m_chroma = m_store.data() + ((16 - (addr & 15)) & 15) / 2;  // aligned for the kernels
    }

    void row(int y, uint8_t* drow)
    {
        int x0, x1;
        rowSpan(m_p, y, x0, x1);
        const uint8_t* yrow = m_src.y + static_cast<std::ptrdiff_t>(y) * m_src.yStride;
        if (x0 < x1) {
            if (m_p.palette) {
                m_p.paletteRow(m_p.paletteTable, yrow + x0, drow + 4 * x0, x1 - x0);
            } else {
                buildChroma(y, x0, x1);
                convert(y, yrow, drow, x0, x1);
            }
        }
        if (m_p.shape.active())
            applyShape(y, drow);
    }

private:
    // Chroma for row y's blocks [x0, x1). H.264's 4:2:0 places each chroma sample level with
    // an even pixel across and midway between two picture rows down: a row takes 3/4 of the
    // chroma row it lies in and 1/4 of the one on its other side, and the odd pixels in between
    // are interpolated by the kernel. Past the picture's edges the edge samples repeat.
    void buildChroma(int y, int x0, int x1)
    {
        const int g0 = x0 / kBlock, groups = (x1 + kBlock - 1) / kBlock - g0;
        const int s0 = g0 * 8;                                    // 8 chroma samples per block
        const int n = std::min(m_cw, s0 + groups * 8 + 1) - s0;   // the blocks' samples and the one after
        const int cy = y >> 1, far = (y & 1) ? std::min(cy + 1, m_ch - 1) : std::max(cy - 1, 0);
        const auto row = [&](const uint8_t* plane, int r) { return plane + static_cast<std::ptrdiff_t>(r) * m_src.uvStride; };
        if (m_nv12) {
            blendChromaRowsNv12(row(m_src.u, cy) + 2 * s0, row(m_src.u, far) + 2 * s0, n, m_u, m_v);
        } else {
            blendChromaRows(row(m_src.u, cy) + s0, row(m_src.u, far) + s0, n, m_u);
            blendChromaRows(row(m_src.v, cy) + s0, row(m_src.v, far) + s0, n, m_v);
        }
        std::fill(m_u + n, m_u + groups * 8 + 16, m_u[n - 1]);
        std::fill(m_v + n, m_v + groups * 8 + 16, m_v[n - 1]);
        m_p.chroma(m_p.coeffs, m_u, m_v, groups, m_chroma + static_cast<std::ptrdiff_t>(g0) * kBlockTerms);
    }

    void convert(int y, const uint8_t* yrow, uint8_t* drow, int x0, int x1)
    {
        const int b0 = x0 / kBlock, n = x1 - x0, whole = n / kBlock, rest = n % kBlock;
        const int16_t* chroma = m_chroma + static_cast<std::ptrdiff_t>(b0) * kBlockTerms;
        m_p.convert(m_p, RowArgs{yrow + x0, chroma, drow + 4 * x0, x0, whole, y});
        if (rest == 0)
            return;
        // A partial block runs on copies so nothing past the row is read or written.
        const int xt = x0 + whole * kBlock;
        uint8_t luma[kBlock] = {};
        uint8_t out[kBlock * 4];
        std::memcpy(luma, yrow + xt, rest);
        m_p.convert(m_p, RowArgs{luma, chroma + static_cast<std::ptrdiff_t>(whole) * kBlockTerms, out, xt, 1, y});
        std::memcpy(drow + 4 * xt, out, 4 * rest);
    }

    void applyShape(int y, uint8_t* drow)
    {
        const ShapeRow& r = m_p.shape.rows[y];
        const int w = m_p.width;
        if (r.outerL >= r.outerR) {
            fillBlack(drow, w);
            return;
        }
        fillBlack(drow, r.outerL);
        fillBlack(drow + 4 * r.outerR, w - r.outerR);
        const uint8_t* edge = m_p.shape.edge.data() + r.edgeAt;
        scaleByCoverage(drow + 4 * r.outerL, edge, 1, r.innerL - r.outerL);
        if (r.outerR > r.innerR)  // the right edge mirrors the left one
            scaleByCoverage(drow + 4 * r.innerR, edge + (w - 1 - r.innerR - r.outerL), -1, r.outerR - r.innerR);
    }

    const Plan& m_p;
    const PlaneView& m_src;
    bool m_nv12;
    int m_cw, m_ch;  // chroma samples across and down
    std::vector<int16_t> m_store;
    int16_t* m_chroma;
    std::vector<int16_t> m_samples;  // the blended chroma row, u then v
    int16_t* m_u;
    int16_t* m_v;
};

} // namespace

bool acceptsInput(const Plan& p, const PlaneView& s, PixelLayout layout, const uint8_t* dst, int dstStride)
{
    const int cw = (p.width + 1) / 2;
    if (!s.y || !dst || magnitude(s.yStride) < p.width || magnitude(dstStride) < 4LL * p.width)
        return false;
    if (p.palette)
        return true;  // luminance only
    if (layout == PixelLayout::NV12)
        return s.u && magnitude(s.uvStride) >= 2LL * cw;
    return s.u && s.v && magnitude(s.uvStride) >= cw;
}

void runRows(const Plan& p, const PlaneView& src, PixelLayout layout, uint8_t* dst, int dstStride, int y0, int y1)
{
    RowPass pass(p, src, layout);
    for (int y = y0; y < y1; ++y)
        pass.row(y, dst + static_cast<std::ptrdiff_t>(y) * dstStride);
}

} // namespace avfx::detail
