// Plain YUV -> BGRA conversion: exact anchors, a reference model on busy frames,
// odd sizes and strides, row bands, and input the pipeline must refuse.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "avcore/effects/row_kernels.h"
#include "avcore_effects/yuv_frame.h"

using avfx::ColorMatrix;
using avfx::PixelLayout;

namespace {

// Limited-range conversion in double precision, written from the standard's constants.
Rgb reference(int y, double u, double v, ColorMatrix m)
{
    const double kr = m == ColorMatrix::BT709 ? 0.2126 : 0.299;
    const double kb = m == ColorMatrix::BT709 ? 0.0722 : 0.114;
    const double kg = 1 - kr - kb;
    const double yy = (y - 16) * 255.0 / 219.0;
    const double pb = (u - 128) * 255.0 / 224.0, pr = (v - 128) * 255.0 / 224.0;
    const double r = yy + 2 * (1 - kr) * pr;
    const double b = yy + 2 * (1 - kb) * pb;
    const double g = (yy - kr * r - kb * b) / kg;
    auto c = [](double x) { return static_cast<int>(std::lround(std::clamp(x, 0.0, 255.0))); };
    return {c(r), c(g), c(b)};
}

struct Case {
    PixelLayout layout;
    ColorMatrix matrix;
};

class Conversion : public ::testing::TestWithParam<Case> {};

TEST_P(Conversion, AnchorsAreExact)
{
    struct Anchor {
        int y, u, v;
        Rgb want;
    };
    const Anchor anchors[] = {
        {16, 128, 128, {0, 0, 0}}, {235, 128, 128, {255, 255, 255}}, {128, 128, 128, {130, 130, 130}},
        {0, 128, 128, {0, 0, 0}},  {255, 128, 128, {255, 255, 255}},
    };
    for (const Anchor& a : anchors) {
        const YuvFrame f = YuvFrame(4, 2, GetParam().layout).fillSolid(a.y, a.u, a.v);
        const Rgb px = render(f, 0, 0, GetParam().matrix).at(3, 1);
        EXPECT_TRUE(px.r == a.want.r && px.g == a.want.g && px.b == a.want.b) << "Y=" << a.y << " gave " << px.r;
    }
}

// Odd sizes exercise every tail: partial 16-pixel blocks, a half chroma sample, padded strides.
// The busy chroma makes any misplaced or repeated chroma sample show.
TEST_P(Conversion, MatchesReferenceAtOddSizesAndStrides)
{
    const int sizes[][2] = {{1, 1}, {2, 1}, {1, 3}, {15, 7}, {17, 5}, {37, 23}, {64, 4}, {99, 3}};
    for (const auto& s : sizes) {
        for (int pad : {0, 13}) {
            const YuvFrame f = YuvFrame(s[0], s[1], GetParam().layout, pad).fillPattern();
            const Bgra out = render(f, 0, 0, GetParam().matrix, pad * 3);
            int worst = 0;
            for (int y = 0; y < s[1]; ++y)
                for (int x = 0; x < s[0]; ++x) {
                    const Rgb want = reference(f.lumaAt(x, y), f.uAt(x, y), f.vAt(x, y), GetParam().matrix);
                    const Rgb got = out.at(x, y);
                    worst = std::max({worst, std::abs(got.r - want.r), std::abs(got.g - want.g),
                                      std::abs(got.b - want.b)});
                    ASSERT_EQ(out.alpha(x, y), 255);
                }
            EXPECT_LE(worst, 1) << s[0] << "x" << s[1] << " pad " << pad;
            EXPECT_TRUE(out.guardsIntact()) << s[0] << "x" << s[1] << " pad " << pad;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, Conversion,
                         ::testing::Values(Case{PixelLayout::NV12, ColorMatrix::BT601},
                                           Case{PixelLayout::NV12, ColorMatrix::BT709},
                                           Case{PixelLayout::I420, ColorMatrix::BT601},
                                           Case{PixelLayout::I420, ColorMatrix::BT709}),
                         [](const ::testing::TestParamInfo<Case>& i) {
                             return std::string(i.param.layout == PixelLayout::NV12 ? "NV12" : "I420") +
                                    (i.param.matrix == ColorMatrix::BT709 ? "_BT709" : "_BT601");
                         });

TEST(Conversion, RowBandsMatchWholeFrame)
{
    const int configs[][2] = {{0, 0}, {0, 6}, {0, 14}, {0, 515}, {1, 0}, {2, 258}, {1, 12}};
    for (PixelLayout layout : {PixelLayout::NV12, PixelLayout::I420}) {
        const YuvFrame f = YuvFrame(53, 41, layout, 5).fillPattern(11);
        for (const auto& c : configs) {
            avfx::FramePipeline p;
            p.configure(53, 41, c[0], c[1], ColorMatrix::BT709);
            Bgra whole(53, 41), bands(53, 41);
            p.process(f.view(), layout, whole.data(), whole.stride());
            // Bands with odd starts split chroma row pairs.
            const int cuts[] = {0, 1, 8, 9, 20, 33, 40, 41};
            for (int i = 0; i + 1 < 8; ++i)
                p.processRows(f.view(), layout, bands.data(), bands.stride(), cuts[i], cuts[i + 1]);
            EXPECT_TRUE(whole.samePicture(bands)) << "shape " << c[0] << " code " << c[1];
        }
    }
}

TEST(Conversion, WideAndBaselineKernelsAgree)
{
    if (!avfx::detail::wideKernelsAvailable())
        GTEST_SKIP() << "no AVX2 on this CPU: only the SSE2 kernels run";
    std::vector<std::pair<int, int>> configs{{1, 0}, {2, 258}, {1, 14}};
    for (int code : {0, 1, 3, 6, 10, 14, 15, 257, 258, 513, 516, 522})
        configs.emplace_back(0, code);
    for (PixelLayout layout : {PixelLayout::NV12, PixelLayout::I420}) {
        const YuvFrame f = YuvFrame(77, 31, layout, 9).fillPattern(21);
        for (auto [shape, code] : configs) {
            avfx::detail::allowWideKernels(false);
            const Bgra baseline = render(f, shape, code);
            avfx::detail::allowWideKernels(true);
            EXPECT_TRUE(render(f, shape, code).samePicture(baseline)) << "shape " << shape << " code " << code;
        }
    }
}

TEST(Conversion, CodesOutsideEveryBandMeanPlainConversion)
{
    const YuvFrame f = YuvFrame(33, 9, PixelLayout::NV12).fillPattern();
    const Bgra plain = render(f, 0, 0);
    for (int code : {-1, 16, 100, 255, 256, 259, 511, 512, 523, 600, 9999, INT_MIN, INT_MAX})
        EXPECT_TRUE(render(f, 0, code).samePicture(plain)) << "code " << code;
    for (int shape : {-1, 3, 7, INT_MIN, INT_MAX})
        EXPECT_TRUE(render(f, shape, 0).samePicture(plain)) << "shape " << shape;
}

TEST(Conversion, RefusedInputLeavesOutputUntouched)
{
    const YuvFrame f = YuvFrame(20, 10, PixelLayout::NV12).fillSolid(128, 128, 128);
    const avfx::PlaneView v = f.view();
    const Bgra untouched(20, 10);
    auto untouchedAfter = [&](const avfx::FramePipeline& p, avfx::PlaneView in, PixelLayout l, int dstStride) {
        Bgra out(20, 10);
        p.process(in, l, out.data(), dstStride);
        return out.samePicture(untouched);
    };
    EXPECT_TRUE(untouchedAfter(avfx::FramePipeline{}, v, PixelLayout::NV12, 80));  // never configured
    for (auto size : {std::pair{0, 10}, std::pair{20, 0}, std::pair{-5, 10}, std::pair{100000, 10}}) {
        avfx::FramePipeline p;
        p.configure(size.first, size.second, 1, 14, ColorMatrix::BT601);
        EXPECT_TRUE(untouchedAfter(p, v, PixelLayout::NV12, 80));
    }
    avfx::FramePipeline p;
    p.configure(20, 10, 0, 0, ColorMatrix::BT601);
    EXPECT_TRUE(untouchedAfter(p, {nullptr, 20, v.u, nullptr, 20}, PixelLayout::NV12, 80));
    EXPECT_TRUE(untouchedAfter(p, {v.y, 20, nullptr, nullptr, 20}, PixelLayout::NV12, 80));
    EXPECT_TRUE(untouchedAfter(p, {v.y, 19, v.u, nullptr, 20}, PixelLayout::NV12, 80));  // luma row short
    EXPECT_TRUE(untouchedAfter(p, {v.y, 20, v.u, nullptr, 19}, PixelLayout::NV12, 80));  // UV row short
    EXPECT_TRUE(untouchedAfter(p, {v.y, 20, v.u, nullptr, 20}, PixelLayout::I420, 80));  // no V plane
    EXPECT_TRUE(untouchedAfter(p, v, PixelLayout::NV12, 79));                            // BGRA row short
    Bgra out(20, 10);
    p.processRows(v, PixelLayout::NV12, out.data(), 80, 7, 3);
    p.processRows(v, PixelLayout::NV12, out.data(), 80, -50, -1);
    EXPECT_TRUE(out.samePicture(untouched));
    p.processRows(v, PixelLayout::NV12, out.data(), 80, 8, 500);  // clipped to the frame
    EXPECT_EQ(out.at(0, 7).r, 0x5A);
    EXPECT_EQ(out.at(0, 9).r, 130);
}

TEST(Conversion, BottomUpDestinationThroughNegativeStride)
{
    YuvFrame f(6, 4, PixelLayout::I420);
    f.fill([](int, int y) { return 16 + 60 * y; }, [](int, int) { return 128; }, [](int, int) { return 128; });
    avfx::FramePipeline p;
    p.configure(6, 4, 0, 0, ColorMatrix::BT601);
    Bgra out(6, 4);
    p.process(f.view(), PixelLayout::I420, out.data() + 3 * out.stride(), -out.stride());
    EXPECT_EQ(out.at(0, 3).r, 0);
    EXPECT_GT(out.at(0, 0).r, 200);
}

} // namespace
