// Filtered resizing for the window: where target pixels sample, what survives exactly,
// the smallest and odd sizes, and both kernel widths.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "avcore/effects/picture_scaler.h"
#include "avcore/effects/row_kernels.h"

namespace {

constexpr uint8_t kPadding = 0xEE;

// BGRA with padding after every row.
struct Picture {
    int w, h, stride;
    std::vector<uint8_t> px;
    Picture(int width, int height, int pad = 8)
        : w(width), h(height), stride(width * 4 + pad), px(static_cast<size_t>(stride) * height, kPadding) {}
    uint8_t* at(int x, int y) { return &px[static_cast<size_t>(y) * stride + 4 * x]; }
    const uint8_t* at(int x, int y) const { return &px[static_cast<size_t>(y) * stride + 4 * x]; }
    void fill(uint32_t seed)  // noise, opaque
    {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                seed = seed * 1664525u + 1013904223u;
                uint8_t* p = at(x, y);
                p[0] = seed >> 24; p[1] = seed >> 16; p[2] = seed >> 8; p[3] = 255;
            }
    }
    bool paddingIntact() const
    {
        for (int y = 0; y < h; ++y)
            for (int b = w * 4; b < stride; ++b)
                if (px[static_cast<size_t>(y) * stride + b] != kPadding) return false;
        return true;
    }
};

bool Scale(const Picture& in, Picture& out)
{
    return avfx::PictureScaler().scale(in.px.data(), in.w, in.h, in.stride, out.px.data(), out.w, out.h, out.stride);
}

struct Size { int sw, sh, dw, dh; };

constexpr uint8_t kFlat[4] = {17, 200, 0, 255};

TEST(PictureScaler, FlatPicturesStayExactlyFlatAtEverySize)
{
    const Size sizes[] = {
        {1, 1, 1, 1}, {1, 1, 9, 5}, {9, 5, 1, 1}, {1, 7, 1, 3}, {1, 3, 1, 8}, {7, 1, 3, 1}, {3, 1, 10, 1},
        {1, 9, 6, 4}, {17, 1, 2, 5}, {37, 23, 11, 7}, {11, 7, 37, 23}, {33, 5, 4, 19}, {2, 2, 1921, 3},
        {1920, 1080, 625, 352}, {640, 360, 1281, 721}, {640, 1080, 3, 1}, {4, 1000, 2, 7},  // steep: exact sums
    };
    for (const Size& s : sizes) {
        SCOPED_TRACE(testing::Message() << s.sw << "x" << s.sh << " -> " << s.dw << "x" << s.dh);
        Picture src(s.sw, s.sh, 12), dst(s.dw, s.dh, 8);
        for (int y = 0; y < s.sh; ++y)
            for (int x = 0; x < s.sw; ++x) std::copy_n(kFlat, 4, src.at(x, y));
        ASSERT_TRUE(Scale(src, dst));
        int wrong = 0;
        for (int y = 0; y < s.dh; ++y)
            for (int x = 0; x < s.dw; ++x) wrong += !std::equal(kFlat, kFlat + 4, dst.at(x, y));
        EXPECT_EQ(wrong, 0);
        EXPECT_TRUE(dst.paddingIntact());
    }
}

// Shrinking by a whole factor averages the blocks each target pixel covers; enlarging by an
// odd factor puts every third target centre on a source centre, where the cubic passes
// through the source value. Both fail if sample positions are off by half a pixel.
TEST(PictureScaler, TargetCentresSampleTheSourceWhereTheyLie)
{
    Picture src(12, 9, 4);
    src.fill(5);
    Picture half(6, 3);  // 2 across, 3 down
    ASSERT_TRUE(Scale(src, half));
    int worst = 0;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x)
            for (int c = 0; c < 4; ++c) {
                int sum = 0;
                for (int j = 0; j < 3; ++j)
                    for (int i = 0; i < 2; ++i) sum += src.at(2 * x + i, 3 * y + j)[c];
                worst = std::max(worst, std::abs(half.at(x, y)[c] - (sum + 3) / 6));
            }
    EXPECT_LE(worst, 1);

    Picture thrice(36, 27);
    ASSERT_TRUE(Scale(src, thrice));
    int differ = 0;
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 12; ++x)
            for (int c = 0; c < 4; ++c) differ += thrice.at(3 * x + 1, 3 * y + 1)[c] != src.at(x, y)[c];
    EXPECT_EQ(differ, 0);
}

TEST(PictureScaler, OnePixelOrOneLineTargetsAreTheSourceMeans)
{
    Picture src(29, 13, 0);
    src.fill(9);
    Picture dot(1, 1), column(1, 13);
    ASSERT_TRUE(Scale(src, dot));
    ASSERT_TRUE(Scale(src, column));
    for (int c = 0; c < 3; ++c) {
        long total = 0;
        for (int y = 0; y < 13; ++y) {
            long row = 0;
            for (int x = 0; x < 29; ++x) row += src.at(x, y)[c];
            total += row;
            EXPECT_NEAR(column.at(0, y)[c], row / 29.0, 1.0) << "row " << y;
        }
        EXPECT_NEAR(dot.at(0, 0)[c], total / (29.0 * 13), 1.0);
    }
}

TEST(PictureScaler, SameSizeIsAnExactCopyAcrossStrides)
{
    for (const Size& s : {Size{1, 1, 1, 1}, Size{1, 5, 1, 5}, Size{33, 17, 33, 17}}) {
        Picture src(s.sw, s.sh, 20), dst(s.dw, s.dh, 4);
        src.fill(3);
        ASSERT_TRUE(Scale(src, dst));
        for (int y = 0; y < s.sh; ++y)
            EXPECT_TRUE(std::equal(src.at(0, y), src.at(0, y) + 4 * s.sw, dst.at(0, y))) << "row " << y;
        EXPECT_TRUE(dst.paddingIntact());
    }
}

TEST(PictureScaler, UnusableSizesWriteNothing)
{
    const Picture src(4, 4);
    for (const Size& s : {Size{0, 4, 4, 4}, Size{4, 4, 4, 0}, Size{-3, 2, 4, 4}, Size{4, 4, 16385, 1},
                          Size{16385, 1, 4, 4}}) {
        Picture dst(4, 4);
        avfx::PictureScaler scaler;
        EXPECT_FALSE(scaler.scale(src.px.data(), s.sw, s.sh, src.stride, dst.px.data(), s.dw, s.dh, dst.stride));
        EXPECT_EQ(std::count(dst.px.begin(), dst.px.end(), kPadding), static_cast<long>(dst.px.size()));
    }
}

TEST(PictureScaler, WideAndBaselineKernelsAgree)
{
    if (!avfx::detail::wideKernelsAvailable()) GTEST_SKIP() << "no AVX2 on this CPU: only the SSE2 kernels run";
    for (const Size& s : {Size{1920, 1080, 625, 352}, Size{640, 360, 1283, 725}, Size{97, 31, 13, 61},
                          Size{3, 50, 41, 7}}) {
        Picture src(s.sw, s.sh, 4);
        src.fill(s.dw);
        Picture baseline(s.dw, s.dh), wide(s.dw, s.dh);
        avfx::detail::allowWideKernels(false);
        Scale(src, baseline);
        avfx::detail::allowWideKernels(true);
        Scale(src, wide);
        EXPECT_TRUE(baseline.px == wide.px) << s.sw << "x" << s.sh << " -> " << s.dw << "x" << s.dh;
    }
}

// One scaler drawing a stream of pictures keeps its tables but never its rows.
TEST(PictureScaler, ReusedScalerGivesWhatAFreshOneGives)
{
    avfx::PictureScaler kept;
    for (uint32_t seed : {1u, 2u}) {
        for (const Size& s : {Size{50, 40, 20, 15}, Size{20, 15, 50, 40}}) {
            Picture src(s.sw, s.sh);
            src.fill(seed);
            Picture once(s.dw, s.dh), again(s.dw, s.dh);
            Scale(src, once);
            kept.scale(src.px.data(), s.sw, s.sh, src.stride, again.px.data(), s.dw, s.dh, again.stride);
            EXPECT_TRUE(once.px == again.px) << "picture " << seed << ", " << s.sw << " -> " << s.dw;
        }
    }
}

} // namespace
