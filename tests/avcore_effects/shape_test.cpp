// Shape masks: geometry of the ellipse and the drop, and shapes over effects.
#include <gtest/gtest.h>

#include "avcore/effects/shape_mask.h"
#include "avcore_effects/yuv_frame.h"

using avfx::PixelLayout;

namespace {

YuvFrame white(int w, int h)
{
    YuvFrame f(w, h, PixelLayout::NV12);
    f.fillSolid(235, 128, 128);
    return f;
}

bool isBlack(const Rgb& c) { return c.r == 0 && c.g == 0 && c.b == 0; }

TEST(Shapes, EllipseKeepsCentreBlacksCornersAndFadesItsEdge)
{
    for (auto size : {std::pair{160, 90}, std::pair{101, 57}, std::pair{33, 200}}) {
        const int w = size.first, h = size.second;
        const Bgra out = render(white(w, h), 1, 0);
        const Rgb centre = out.at(w / 2, h / 2);
        EXPECT_EQ(centre.r, 255);
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
        for (int x = 0; x < w / 2; ++x) {
            const int r = out.at(x, h / 2).r;
            ramp += r > 0 && r < 255;
        }
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
        YuvFrame f(121, 77, layout, 3);
        f.fillPattern();
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
