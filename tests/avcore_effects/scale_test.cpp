// Resizing for the window: every target pixel comes from the source area it covers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "avcore/effects/scale_nearest.h"

namespace {

constexpr uint8_t kPadding = 0xEE;

// A picture whose pixels spell their own coordinates, with padding after each row.
struct Coded {
    int w, h, stride;
    std::vector<uint8_t> px;
    Coded(int width, int height, int pad) : w(width), h(height), stride(width * 4 + pad),
        px(static_cast<size_t>(stride) * height, kPadding)
    {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint8_t* p = &px[static_cast<size_t>(y) * stride + 4 * x];
                p[0] = x & 255; p[1] = x >> 8; p[2] = y & 255; p[3] = y >> 8;
            }
    }
};

struct Scaled {
    int w, h, stride;
    std::vector<uint8_t> px;
    Scaled(int width, int height, int pad) : w(width), h(height), stride(width * 4 + pad),
        px(static_cast<size_t>(stride) * height, kPadding) {}
    int sourceX(int x, int y) const { const uint8_t* p = &px[static_cast<size_t>(y) * stride + 4 * x]; return p[0] | p[1] << 8; }
    int sourceY(int x, int y) const { const uint8_t* p = &px[static_cast<size_t>(y) * stride + 4 * x]; return p[2] | p[3] << 8; }
};

// The source indices that target pixel i of n covers, for a source of m pixels.
bool Covers(int i, int n, int m, int source)
{
    const int64_t first = int64_t{i} * m / n;                  // floor of the area's start
    const int64_t last = (int64_t{i + 1} * m + n - 1) / n - 1;  // ceiling of its end, less one
    return source >= first && source <= last;
}

TEST(ScaleNearest, EachPixelComesFromTheAreaItCoversAndPaddingIsLeftAlone)
{
    struct Case { int sw, sh, dw, dh; };
    const Case cases[] = {
        {1920, 1080, 1280, 720},  // a 1080p picture in a 720p window
        {640, 360, 1280, 720},    // enlarged twice
        {7, 5, 3, 2},             // odd shrinking
        {3, 2, 10, 9},            // odd enlarging
        {1, 1, 4, 3},             // one pixel fills everything
        {33, 17, 33, 17},         // same size: a copy
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.sw << "x" << c.sh << " -> " << c.dw << "x" << c.dh);
        const Coded src(c.sw, c.sh, 12);
        Scaled dst(c.dw, c.dh, 8);
        std::vector<int> columns;
        avfx::ScaleNearest(src.px.data(), src.w, src.h, src.stride, dst.px.data(), dst.w, dst.h, dst.stride, columns);
        int wrong = 0;
        for (int y = 0; y < c.dh; ++y) {
            for (int x = 0; x < c.dw; ++x)
                wrong += !Covers(x, c.dw, c.sw, dst.sourceX(x, y)) || !Covers(y, c.dh, c.sh, dst.sourceY(x, y));
            for (int b = c.dw * 4; b < dst.stride; ++b) wrong += dst.px[static_cast<size_t>(y) * dst.stride + b] != kPadding;
        }
        EXPECT_EQ(wrong, 0);
        if (c.sw == c.dw && c.sh == c.dh) {
            EXPECT_EQ(dst.sourceX(c.dw - 1, c.dh - 1), c.sw - 1);
            EXPECT_EQ(dst.sourceY(c.dw - 1, c.dh - 1), c.sh - 1);
        }
    }
}

TEST(ScaleNearest, EnlargingTwiceMakesTwoByTwoBlocks)
{
    const Coded src(4, 3, 0);
    Scaled dst(8, 6, 0);
    std::vector<int> columns;
    avfx::ScaleNearest(src.px.data(), 4, 3, src.stride, dst.px.data(), 8, 6, dst.stride, columns);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(dst.sourceX(x, y), x / 2);
            EXPECT_EQ(dst.sourceY(x, y), y / 2);
        }
}

TEST(ScaleNearest, NothingIsWrittenForAnEmptySize)
{
    const Coded src(4, 4, 0);
    for (auto size : {std::pair{0, 4}, std::pair{4, 0}, std::pair{-3, 2}}) {
        Scaled dst(4, 4, 0);
        std::vector<int> columns;
        avfx::ScaleNearest(src.px.data(), 4, 4, src.stride, dst.px.data(), size.first, size.second, dst.stride, columns);
        avfx::ScaleNearest(src.px.data(), size.first, size.second, src.stride, dst.px.data(), 4, 4, dst.stride, columns);
        EXPECT_EQ(std::count(dst.px.begin(), dst.px.end(), kPadding), static_cast<long>(dst.px.size()));
    }
}

} // namespace
