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
          m_store(static_cast<size_t>((p.width + kBlock - 1) / kBlock + 1) * kBlockTerms + 8)
    {
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
                ensureChroma(y);
                convert(y, yrow, drow, x0, x1);
            }
        }
        if (m_p.shape.active())
            applyShape(y, drow);
    }

private:
    // One chroma row serves two picture rows, so build it for both rows' spans.
    void ensureChroma(int y)
    {
        int c0, c1;
        rowSpan(m_p, y, c0, c1);
        if ((y & 1) == 0 && y + 1 < m_p.height) {
            int n0, n1;
            rowSpan(m_p, y + 1, n0, n1);
            if (n0 < n1 && c0 < c1) {
                c0 = std::min(c0, n0);
                c1 = std::max(c1, n1);
            }
        }
        const int g0 = c0 / kBlock, g1 = (c1 + kBlock - 1) / kBlock;
        const int cy = y >> 1;
        if (cy == m_builtRow && g0 >= m_builtFrom && g1 <= m_builtTo)
            return;
        const uint8_t* urow = m_src.u + static_cast<std::ptrdiff_t>(cy) * m_src.uvStride;
        const uint8_t* vrow = m_nv12 ? nullptr : m_src.v + static_cast<std::ptrdiff_t>(cy) * m_src.uvStride;
        const int start = g0 * 8;  // 8 chroma samples per block
        const int whole = std::min(g1 - g0, (m_cw - start) / 8);
        int16_t* out = m_chroma + static_cast<std::ptrdiff_t>(g0) * kBlockTerms;
        m_p.chroma(m_p.coeffs, m_nv12 ? urow + 2 * start : urow + start, m_nv12 ? nullptr : vrow + start, whole, out);
        if (g0 + whole < g1) {
            // The last samples of the row: work on a copy padded with neutral chroma.
            const int at = start + whole * 8, left = m_cw - at;
            uint8_t u[16], v[16];
            std::memset(u, 128, sizeof u);
            std::memset(v, 128, sizeof v);
            std::memcpy(u, m_nv12 ? urow + 2 * at : urow + at, m_nv12 ? 2 * left : left);
            if (!m_nv12)
                std::memcpy(v, vrow + at, left);
            m_p.chroma(m_p.coeffs, u, m_nv12 ? nullptr : v, 1, out + static_cast<std::ptrdiff_t>(whole) * kBlockTerms);
        }
        m_builtRow = cy;
        m_builtFrom = g0;
        m_builtTo = g1;
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
    int m_cw;
    std::vector<int16_t> m_store;
    int16_t* m_chroma;
    int m_builtRow = -1, m_builtFrom = 0, m_builtTo = 0;  // what m_chroma holds
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
