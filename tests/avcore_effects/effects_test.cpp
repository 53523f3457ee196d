// Effects: each one's defining property, the looks against their double-precision
// model and against their names, colour tables and textures; shape masks: the geometry of
// the ellipse and the drop, and shapes over effects.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "avcore/effects/looks.h"
#include "avcore/effects/shape_mask.h"
#include "avcore_effects/yuv_frame.h"

using avfx::ColorMatrix;
using avfx::PixelLayout;

namespace {

double luma(const Rgb& c) { return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b; }

// Grey ramp along x (Y 16..235), neutral chroma.
YuvFrame greyRamp(int w = 220, int h = 2)
{
    auto neutral = [](int, int) { return 128; };
    return YuvFrame(w, h, PixelLayout::NV12).fill([w](int x, int) { return 16 + x * 219 / (w - 1); }, neutral, neutral);
}

TEST(Effects, InvertedIsComplementOfPlain)
{
    for (ColorMatrix m : {ColorMatrix::BT601, ColorMatrix::BT709}) {
        const YuvFrame f = YuvFrame(45, 13, PixelLayout::I420, 3).fillPattern();
        const Bgra plain = render(f, 0, 0, m), inv = render(f, 0, 15, m);
        EXPECT_TRUE(inv.all([&](int x, int y, Rgb c) {
            const Rgb p = plain.at(x, y);
            return c.r == 255 - p.r && c.g == 255 - p.g && c.b == 255 - p.b && inv.alpha(x, y) == 255;
        }));
    }
}

TEST(Effects, BlackAndWhiteIsGreyAndKeepsLuminanceOrder)
{
    const YuvFrame f = YuvFrame(64, 16, PixelLayout::NV12).fillPattern();
    EXPECT_TRUE(render(f, 0, 10).all([](int, int, Rgb c) { return c.r == c.g && c.g == c.b; }));
    const Bgra ramp = render(greyRamp(), 0, 10);
    for (int x = 1; x < 220; ++x)
        ASSERT_GE(ramp.at(x, 0).r, ramp.at(x - 1, 0).r);
    EXPECT_LE(ramp.at(0, 0).r, 2);
    EXPECT_GE(ramp.at(219, 0).r, 253);
}

TEST(Effects, NostalgiaIsSepiaToned)
{
    // Every row of the sepia mix weighs R, G, B less than the one above it.
    const YuvFrame f = YuvFrame(64, 16, PixelLayout::NV12).fillPattern();
    EXPECT_TRUE(render(f, 0, 3).all([](int, int, Rgb c) { return c.r + 1 >= c.g && c.g + 1 >= c.b; }));
    const Rgb mid = render(greyRamp(), 0, 3).at(80, 0);
    EXPECT_GT(mid.r - mid.b, 25);
    EXPECT_GT(mid.g, mid.b);
}

TEST(Effects, YellowedVignetteDarkensTowardsTheCorners)
{
    const YuvFrame f = YuvFrame(160, 90, PixelLayout::NV12).fillSolid(170, 128, 128);
    const Bgra v = render(f, 0, 14);
    const Rgb plain = render(f, 0, 0).at(80, 45);
    const Rgb centre = v.at(80, 45);
    EXPECT_NEAR(luma(centre), luma(plain), 0.1 * luma(plain));
    EXPECT_GT(centre.r, centre.b + 20);  // yellowed
    EXPECT_GT(centre.g, centre.b + 10);
    for (auto corner : {std::pair{0, 0}, std::pair{159, 0}, std::pair{0, 89}, std::pair{159, 89}})
        EXPECT_LT(luma(v.at(corner.first, corner.second)), 0.6 * luma(centre));
    for (int i = 1; i < 45; ++i)  // falls steadily along the diagonal
        EXPECT_LE(luma(v.at(80 - i * 80 / 45, 45 - i)), luma(v.at(80 - (i - 1) * 80 / 45, 45 - (i - 1))) + 0.5);
}

TEST(Effects, ColourTablesMapLuminanceMonotonically)
{
    YuvFrame ramp = greyRamp();
    YuvFrame tinted(220, 2, PixelLayout::NV12);  // same lumas, strong chroma: ignored
    tinted.fill([](int x, int) { return 16 + x * 219 / 219; }, [](int, int) { return 40; }, [](int, int) { return 230; });
    for (int code : {257, 258}) {
        const Bgra out = render(ramp, 0, code);
        EXPECT_TRUE(out.samePicture(render(tinted, 0, code))) << code;
        for (int x = 1; x < 220; ++x)
            ASSERT_GE(luma(out.at(x, 0)) + 0.5, luma(out.at(x - 1, 0))) << code << " at " << x;
        EXPECT_LT(luma(out.at(0, 0)), 3) << code;
        EXPECT_GT(luma(out.at(219, 0)), 250) << code;
    }
    const Rgb flame = render(ramp, 0, 257).at(110, 0), ice = render(ramp, 0, 258).at(110, 0);
    EXPECT_GT(flame.r, flame.g);
    EXPECT_GT(flame.g, flame.b);
    EXPECT_GT(ice.b, ice.g);
    EXPECT_GT(ice.g, ice.r);
}

// The SIMD fixed point against the looks' own double-precision definition.
TEST(Effects, LooksMatchTheirModel)
{
    using namespace avfx::detail;
    YuvFrame f(64, 64, PixelLayout::I420);
    f.fill([](int x, int y) { return (x * 4 + y / 16) & 255; }, [](int x, int y) { return 16 + (x * 7 + y * 3) % 225; },
           [](int x, int y) { return 16 + (x * 3 + y * 11) % 225; });
    for (ColorMatrix cm : {ColorMatrix::BT601, ColorMatrix::BT709})
        for (int code = 1; code < 16; ++code) {
            const Look look = lookFor(code);
            const Mat34 m = lookMatrix(look, cm);
            const Bgra out = render(f, 0, code, cm);
            int worst = 0;
            for (int y = 0; y < 64; ++y)
                for (int x = 0; x < 64; ++x) {
                    if (look.vignette && (std::abs(x - 32) > 14 || std::abs(y - 32) > 14))
                        continue;  // the darkening starts outside half the radius
                    double ly = f.lumaAt(x, y);
                    if (needsCurve(look))
                        ly = 16 + 219 * toneCurve(look, std::clamp((ly - 16) / 219, 0.0, 1.0));
                    const double in[4] = {ly, f.uAt(x, y) - 128.0, f.vAt(x, y) - 128.0, 1.0};
                    const Rgb got = out.at(x, y);
                    const int gotCh[3] = {got.r, got.g, got.b};
                    for (int ch = 0; ch < 3; ++ch) {
                        double v = 0;
                        for (int k = 0; k < 4; ++k)
                            v += m[ch][k] * in[k];
                        v = std::clamp(v, 0.0, 255.0);
                        if (look.invert)
                            v = 255 - v;
                        worst = std::max(worst, static_cast<int>(std::lround(std::fabs(v - gotCh[ch]))));
                    }
                }
            EXPECT_LE(worst, 2) << "look " << code;
        }
}

TEST(Effects, FifteenLooksArePairwiseDistinct)
{
    const YuvFrame f = YuvFrame(96, 48, PixelLayout::NV12).fillPattern(3);
    std::vector<Bgra> outs;
    for (int code = 0; code < 16; ++code)
        outs.push_back(render(f, 0, code));
    for (int a = 0; a < 16; ++a)
        for (int b = a + 1; b < 16; ++b)
            EXPECT_GT(outs[a].meanAbsDiff(outs[b]), 4.0) << "looks " << a << " and " << b;
}

// What each name promises, on a grey ramp (tone, tint) and a moderately colourful picture.
TEST(Effects, LooksAreTrueToTheirNames)
{
    YuvFrame colour(96, 48, PixelLayout::NV12);
    colour.fill([](int x, int y) { return 60 + (x + y) % 120; }, [](int x, int) { return 88 + (x * 5) % 81; },
                [](int, int y) { return 88 + (y * 7) % 81; });
    struct Measure {
        Rgb black, mid, white;
        double mean = 0, contrast = 0, saturation = 0;
    };
    auto measure = [&](int code) {
        const Bgra r = render(greyRamp(), 0, code), c = render(colour, 0, code);
        Measure m{r.at(0, 0), r.at(110, 0), r.at(219, 0)};
        for (int x = 0; x < 220; ++x)
            m.mean += luma(r.at(x, 0)) / 220;
        m.contrast = luma(r.at(165, 0)) - luma(r.at(55, 0));
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 96; ++x) {
                const Rgb p = c.at(x, y);
                m.saturation += (std::max({p.r, p.g, p.b}) - std::min({p.r, p.g, p.b})) / (96.0 * 48);
            }
        return m;
    };
    const Measure plain = measure(0), classic = measure(1), purple = measure(2), rock = measure(4),
                  gothic = measure(5), hdr = measure(6), eighties = measure(7), retro = measure(8),
                  paris = measure(9), impression = measure(11), film = measure(12), rain = measure(13);
    EXPECT_GT(classic.black.b, 15);  // lifted blacks, warm
    EXPECT_GT(classic.white.r, classic.white.b + 20);
    EXPECT_GT(std::min(purple.mid.r, purple.mid.b), purple.mid.g + 10);
    EXPECT_GT(rock.contrast, plain.contrast * 1.2);
    EXPECT_GT(rock.saturation, plain.saturation * 1.2);
    EXPECT_LT(gothic.mean, plain.mean * 0.85);  // dark, drained, cold
    EXPECT_LT(gothic.saturation, plain.saturation * 0.5);
    EXPECT_GT(gothic.mid.b, gothic.mid.r);
    EXPECT_GT(hdr.saturation, plain.saturation * 1.4);
    EXPECT_GT(luma(hdr.mid), luma(plain.mid));
    EXPECT_GT(luma(eighties.black), 15);  // faded; cyan shadows, magenta highlights
    EXPECT_GT(eighties.black.g + eighties.black.b, 2 * eighties.black.r + 20);
    EXPECT_GT(eighties.white.r + eighties.white.b, 2 * eighties.white.g + 20);
    EXPECT_GT(retro.mid.r, retro.mid.b + 15);
    EXPECT_LT(paris.contrast, plain.contrast);  // soft, pink, pastel
    EXPECT_GT(paris.mid.r, paris.mid.g + 10);
    EXPECT_LT(paris.saturation, plain.saturation * 0.8);
    EXPECT_LT(impression.contrast, plain.contrast);
    EXPECT_GT(film.contrast, plain.contrast * 1.1);
    EXPECT_LT(rain.mean, plain.mean * 0.85);
    EXPECT_GT(rain.mid.b, rain.mid.r + 25);
}

TEST(Effects, TexturesOverlayATiledPattern)
{
    const YuvFrame grey = YuvFrame(300, 260, PixelLayout::NV12).fillSolid(140, 128, 128);
    const YuvFrame dark = YuvFrame(40, 20, PixelLayout::NV12).fillSolid(16, 128, 128);
    const Bgra plain = render(grey, 0, 0);
    std::vector<Bgra> outs;
    for (int code = 513; code <= 522; ++code) {
        const Bgra t = render(grey, 0, code);
        double sum = 0, sum2 = 0;
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 128; ++x) {
                sum += luma(t.at(x, y));
                sum2 += luma(t.at(x, y)) * luma(t.at(x, y));
            }
        const double mean = sum / (128 * 128);
        EXPECT_GT(std::sqrt(sum2 / (128 * 128) - mean * mean), 3.0) << code;  // visible
        EXPECT_NEAR(mean, luma(plain.at(0, 0)), 25.0) << code;                   // not a darkening
        bool tiled = true;
        for (int y = 0; y < 132 && tiled; ++y)
            for (int x = 0; x < 172 && tiled; ++x) {
                const Rgb a = t.at(x, y), b = t.at(x + 128, y), c = t.at(x, y + 128);
                tiled = a.r == b.r && a.g == b.g && a.r == c.r && a.b == c.b;
            }
        EXPECT_TRUE(tiled) << code;
        const Bgra d = render(dark, 0, code);  // multiplied: black stays black
        EXPECT_LE(luma(d.at(7, 7)), 1.0) << code;
        outs.push_back(t);
    }
    for (size_t a = 0; a < outs.size(); ++a)
        for (size_t b = a + 1; b < outs.size(); ++b)
            EXPECT_GT(outs[a].meanAbsDiff(outs[b]), 2.0) << "textures " << a + 1 << " and " << b + 1;
}

YuvFrame white(int w, int h)
{
    return YuvFrame(w, h, PixelLayout::NV12).fillSolid(235, 128, 128);
}

bool isBlack(const Rgb& c) { return c.r == 0 && c.g == 0 && c.b == 0; }

TEST(Shapes, EllipseKeepsCentreBlacksCornersAndFadesItsEdge)
{
    for (auto size : {std::pair{160, 90}, std::pair{101, 57}, std::pair{33, 200}}) {
        const int w = size.first, h = size.second;
        const Bgra out = render(white(w, h), 1, 0);
        EXPECT_EQ(out.at(w / 2, h / 2).r, 255);
        for (auto c : {std::pair{0, 0}, std::pair{w - 1, 0}, std::pair{0, h - 1}, std::pair{w - 1, h - 1}})
            EXPECT_TRUE(isBlack(out.at(c.first, c.second)));
        EXPECT_EQ(out.alpha(0, 0), 255);
        // Inscribed: the edge midpoints are on the outline, just inside is picture.
        EXPECT_EQ(out.at(w / 2, 3).r, 255);
        EXPECT_EQ(out.at(3, h / 2).r, 255);
        int partial = 0;
        EXPECT_TRUE(out.all([&](int x, int y, Rgb c) {  // mirror symmetric both ways
            partial += c.r > 0 && c.r < 255;
            return c.r == out.at(w - 1 - x, y).r && c.r == out.at(x, h - 1 - y).r;
        }));
        EXPECT_GT(partial, w + h);  // a smooth edge all along the outline
        // Along a radius the picture fades within a couple of pixels.
        int ramp = 0;
        for (int x = 0; x < w / 2; ++x)
            ramp += out.at(x, h / 2).r > 0 && out.at(x, h / 2).r < 255;
        EXPECT_GE(ramp, 1);
        EXPECT_LE(ramp, 3);
    }
}

TEST(Shapes, DropHasItsPointAtTheTopAndItsBodyBelow)
{
    const int w = 160, h = 160;
    const Bgra out = render(white(w, h), 2, 0);
    auto widthOfRow = [&](int y) {
        int n = 0;
        for (int x = 0; x < w; ++x)
            n += out.at(x, y).r > 127;
        return n;
    };
    // The point: near the top only a sliver around the centre line.
    EXPECT_GT(out.at(w / 2, 2).r, 0);
    EXPECT_LT(widthOfRow(4), 12);
    EXPECT_TRUE(isBlack(out.at(w / 4, 4)));
    // Widening steadily down to the round body, full width in the lower part.
    for (int y = 6; y < h * 6 / 10; y += 4)
        EXPECT_GE(widthOfRow(y), widthOfRow(y - 4));
    EXPECT_GT(widthOfRow(h * 68 / 100), w - 6);
    EXPECT_LT(widthOfRow(h / 3), w * 3 / 4);
    EXPECT_EQ(out.at(w / 2, h - 4).r, 255);  // round bottom touches the lower edge
    for (auto c : {std::pair{0, 0}, std::pair{w - 1, 0}, std::pair{0, h - 1}, std::pair{w - 1, h - 1}})
        EXPECT_TRUE(isBlack(out.at(c.first, c.second)));
    EXPECT_TRUE(out.all([&](int x, int y, Rgb c) { return c.r == out.at(w - 1 - x, y).r; }));
}

// Every pixel is the effect's own pixel scaled by the mask's coverage: black
// outside (even for inverted colours), untouched inside, dimmed on the edge.
TEST(Shapes, ShapeAndEffectBothApply)
{
    const int configs[][2] = {{1, 0}, {2, 258}, {2, 6}, {1, 15}, {1, 515}, {2, 14}};
    for (avfx::PixelLayout layout : {PixelLayout::NV12, PixelLayout::I420}) {
        const YuvFrame f = YuvFrame(121, 77, layout, 3).fillPattern();
        for (const auto& c : configs) {
            avfx::detail::ShapeMask mask;
            mask.build(c[0] == 1 ? avfx::detail::ShapeKind::Ellipse : avfx::detail::ShapeKind::Drop, 121, 77);
            const Bgra effect = render(f, 0, c[1]);
            const Bgra shaped = render(f, c[0], c[1]);
            EXPECT_TRUE(shaped.all([&](int x, int y, Rgb got) {
                const int cov = mask.coverage(x, y, 121);
                const Rgb e = effect.at(x, y);
                auto near = [cov](int v, int full) { return std::abs(v - (full * cov + 127) / 255) <= 1; };
                return near(got.r, e.r) && near(got.g, e.g) && near(got.b, e.b);
            })) << "shape " << c[0] << " code " << c[1];
        }
    }
}

TEST(Shapes, TinyFramesStaySafe)
{
    for (int shape : {1, 2})
        for (auto s : {std::pair{1, 1}, std::pair{2, 1}, std::pair{1, 2}, std::pair{3, 3}, std::pair{17, 2}}) {
            const Bgra out = render(white(s.first, s.second), shape, 14, avfx::ColorMatrix::BT709, 8);
            EXPECT_TRUE(out.guardsIntact()) << shape << " " << s.first << "x" << s.second;
            EXPECT_EQ(out.alpha(0, 0), 255);
        }
}

} // namespace
