// Test frames in NV12 or I420 with padded strides, and the pipeline's output.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <vector>

#include "avcore/effects/frame_pipeline.h"

struct Rgb {
    int r, g, b;
};

class YuvFrame {
public:
    YuvFrame(int w, int h, avfx::PixelLayout layout, int pad = 0)
        : m_w(w), m_h(h), m_cw((w + 1) / 2), m_ch((h + 1) / 2), m_layout(layout),
          m_yStride(w + pad), m_uvStride((layout == avfx::PixelLayout::NV12 ? 2 * m_cw : m_cw) + pad),
          m_y(static_cast<size_t>(m_yStride) * h, 0xEE), m_u(static_cast<size_t>(m_uvStride) * m_ch, 0xEE),
          m_v(layout == avfx::PixelLayout::I420 ? static_cast<size_t>(m_uvStride) * m_ch : 0, 0xEE)
    {
    }

    // Fills luma per pixel and chroma per 2x2 block.
    YuvFrame& fill(const std::function<int(int, int)>& y, const std::function<int(int, int)>& u,
                   const std::function<int(int, int)>& v)
    {
        for (int j = 0; j < m_h; ++j)
            for (int i = 0; i < m_w; ++i)
                m_y[static_cast<size_t>(j) * m_yStride + i] = static_cast<uint8_t>(y(i, j));
        for (int j = 0; j < m_ch; ++j)
            for (int i = 0; i < m_cw; ++i) {
                chroma(i, j, 0) = static_cast<uint8_t>(u(i, j));
                chroma(i, j, 1) = static_cast<uint8_t>(v(i, j));
            }
        return *this;
    }
    YuvFrame& fillSolid(int y, int u, int v)
    {
        return fill([y](int, int) { return y; }, [u](int, int) { return u; }, [v](int, int) { return v; });
    }
    // A busy picture: luma ramps with noise, chroma sweeping the whole UV square.
    YuvFrame& fillPattern(uint32_t seed = 7)
    {
        auto rnd = [seed](int i, int j, int k) {
            uint32_t h = (i * 73856093u) ^ (j * 19349663u) ^ (k * 83492791u) ^ seed;
            h ^= h >> 13;
            h *= 0x5bd1e995u;
            return static_cast<int>((h ^ (h >> 15)) & 0xFF);
        };
        return fill([&](int i, int j) { return (i * 7 + j * 3) % 256 / 2 + rnd(i, j, 0) / 2; },
                    [&](int i, int j) { return 16 + (i * 29 + rnd(i, j, 1)) % 225; },
                    [&](int i, int j) { return 16 + (j * 31 + rnd(i, j, 2)) % 225; });
    }

    avfx::PlaneView view() const
    {
        return {m_y.data(), m_yStride, m_u.data(), m_v.empty() ? nullptr : m_v.data(), m_uvStride};
    }
    int lumaAt(int x, int y) const { return m_y[static_cast<size_t>(y) * m_yStride + x]; }
    // Chroma at pixel (x, y) as H.264 sites it: level with the even pixels across, midway
    // between two rows down; in between, linear interpolation; beyond the edges, the edge.
    double uAt(int x, int y) const { return chromaAt(x, y, 0); }
    double vAt(int x, int y) const { return chromaAt(x, y, 1); }
    int width() const { return m_w; }
    int height() const { return m_h; }
    avfx::PixelLayout layout() const { return m_layout; }

private:
    // Chroma sample (i, j) of U (plane 0) or V (plane 1), in either layout.
    uint8_t& chroma(int i, int j, int plane)
    {
        const size_t row = static_cast<size_t>(j) * m_uvStride;
        if (m_layout == avfx::PixelLayout::NV12) return m_u[row + 2 * i + plane];
        return (plane ? m_v : m_u)[row + i];
    }
    int chroma(int i, int j, int plane) const { return const_cast<YuvFrame*>(this)->chroma(i, j, plane); }

    double chromaAt(int x, int y, int plane) const
    {
        const double cx = x / 2.0, cy = (y - 0.5) / 2.0;
        const int i = static_cast<int>(std::floor(cx)), j = static_cast<int>(std::floor(cy));
        const double fx = cx - i, fy = cy - j;
        auto at = [&](int a, int b) { return chroma(std::clamp(a, 0, m_cw - 1), std::clamp(b, 0, m_ch - 1), plane); };
        return (1 - fy) * ((1 - fx) * at(i, j) + fx * at(i + 1, j)) + fy * ((1 - fx) * at(i, j + 1) + fx * at(i + 1, j + 1));
    }

    int m_w, m_h, m_cw, m_ch;
    avfx::PixelLayout m_layout;
    int m_yStride, m_uvStride;
    std::vector<uint8_t> m_y, m_u, m_v;
};

// BGRA output with a stride of its own and a guard band after every row.
class Bgra {
public:
    Bgra(int w, int h, int pad = 0) : m_w(w), m_h(h), m_stride(w * 4 + pad), m_px(static_cast<size_t>(m_stride) * h + 64, 0x5A) {}

    uint8_t* data() { return m_px.data(); }
    int stride() const { return m_stride; }
    Rgb at(int x, int y) const
    {
        const uint8_t* p = row(y) + 4 * x;
        return {p[2], p[1], p[0]};
    }
    int alpha(int x, int y) const { return row(y)[4 * x + 3]; }
    // True when every byte outside the picture still holds the fill value.
    bool guardsIntact() const
    {
        const auto isFill = [](uint8_t b) { return b == 0x5A; };
        for (int y = 0; y < m_h; ++y)
            if (!std::all_of(row(y) + m_w * 4, row(y) + m_stride, isFill))
                return false;
        return std::all_of(row(m_h), m_px.data() + m_px.size(), isFill);
    }
    // True when pred(x, y, colour) holds for every pixel.
    template <class Pred>
    bool all(Pred pred) const
    {
        for (int y = 0; y < m_h; ++y)
            for (int x = 0; x < m_w; ++x)
                if (!pred(x, y, at(x, y)))
                    return false;
        return true;
    }
    bool samePicture(const Bgra& o) const
    {
        for (int y = 0; y < m_h; ++y)
            if (!std::equal(row(y), row(y) + m_w * 4, o.row(y)))
                return false;
        return true;
    }
    double meanAbsDiff(const Bgra& o) const
    {
        double sum = 0;
        for (int y = 0; y < m_h; ++y)
            for (int x = 0; x < m_w; ++x) {
                const Rgb a = at(x, y), b = o.at(x, y);
                sum += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
            }
        return sum / (3.0 * m_w * m_h);
    }
private:
    const uint8_t* row(int y) const { return m_px.data() + static_cast<size_t>(y) * m_stride; }

    int m_w, m_h, m_stride;
    std::vector<uint8_t> m_px;
};

inline Bgra render(const YuvFrame& f, int shape, int code, avfx::ColorMatrix m = avfx::ColorMatrix::BT601,
                   int dstPad = 0)
{
    avfx::FramePipeline p;
    p.configure(f.width(), f.height(), shape, code, m);
    Bgra out(f.width(), f.height(), dstPad);
    p.process(f.view(), f.layout(), out.data(), out.stride());
    return out;
}
