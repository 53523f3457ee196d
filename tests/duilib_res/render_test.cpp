// Drawing into the back buffer: fills with alpha, borders, images (source, nine-patch, dest), text.
#include <gtest/gtest.h>

#include <algorithm>

#include "duilib/UIRender.h"
#include "duilib/UIResource.h"
#include "test_data.h"

using namespace DuiLib;
using namespace restest;

namespace {
constexpr uint32_t A = 0xFFFF0000, B = 0xFF00FF00, C = 0xFF0000FF, D = 0xFFFFFF00;
constexpr uint32_t E = 0xFF808080, M = 0xFF202020, K = 0xFF000000;

class Canvas : public ::testing::Test {
protected:
    CCanvas canvas;
    // A 9x9 nine-patch of 3x3 cells, a 2x1 pair A|C, a 1x1 white at half alpha,
    // and a 24x1 bar whose left half is A and right half C.
    void SetUp() override
    {
        const uint32_t cells[3][3] = {{A, E, B}, {E, M, E}, {C, E, D}};
        std::vector<uint32_t> nine;
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 9; ++x) nine.push_back(cells[y / 3][x / 3]);
        std::vector<uint32_t> bar(24, C);
        std::fill_n(bar.begin(), 12, A);
        ASSERT_TRUE(CSkinSource::UseMemory(BuildZip({{"nine.png", MakePng(9, 9, nine), true},
                                                     {"pair.png", MakePng(2, 1, {A, C}), true},
                                                     {"glass.png", MakePng(1, 1, {0x80FFFFFF}), true},
                                                     {"bar.png", MakePng(24, 1, bar), true}})
                                                .bytes));
        ASSERT_TRUE(canvas.Resize(100, 60));
        Render::FillRect(canvas, RECT{0, 0, 100, 60}, 0xFF000000);
    }
    void TearDown() override { CSkinSource::Reset(); }
    uint32_t At(int x, int y) const { return canvas.Bits()[y * canvas.Width() + x]; }
    static int Channel(uint32_t px, int shift) { return static_cast<int>((px >> shift) & 0xFF); }

    struct Probe { int x, y; uint32_t want; };
    // Draws one image on a black canvas and checks the probes; black marks what must stay untouched.
    void ExpectDrawn(const RECT& control, const wchar_t* attr, const std::vector<Probe>& probes)
    {
        Render::FillRect(canvas, RECT{0, 0, 100, 60}, K);
        ASSERT_TRUE(Render::DrawImage(canvas, control, attr)) << attr;
        for (const Probe& p : probes) EXPECT_EQ(At(p.x, p.y), p.want) << attr << " at " << p.x << "," << p.y;
    }
};
} // namespace

TEST_F(Canvas, TranslucentFillBlendsOverWhatIsBelow)
{
    Render::FillRect(canvas, RECT{0, 0, 100, 60}, 0xFF204060);
    Render::FillRect(canvas, RECT{10, 10, 90, 20}, 0x88000000);  // the half-dark strip
    const uint32_t dark = At(50, 15);
    EXPECT_NEAR(Channel(dark, 16), 0x20 * 119 / 255, 1);
    EXPECT_NEAR(Channel(dark, 8), 0x40 * 119 / 255, 1);
    EXPECT_NEAR(Channel(dark, 0), 0x60 * 119 / 255, 1);
    EXPECT_EQ(At(50, 25), 0xFF204060u);
    EXPECT_EQ(At(9, 15), 0xFF204060u);
    Render::FillRect(canvas, RECT{0, 0, 100, 60}, 0x00FFFFFF);  // fully transparent: nothing
    EXPECT_EQ(At(50, 25), 0xFF204060u);
}

TEST_F(Canvas, TranslucentFillMatchesTheFormulaAtEveryWidthAndOffset)
{
    // Widths and offsets cover both the four-pixel path and the one-pixel tail.
    uint32_t seed = 7;
    for (int i = 0; i < 100 * 60; ++i) {
        seed = seed * 1664525u + 1013904223u;
        canvas.Bits()[i] = seed | 0xFF000000u;
    }
    std::vector<uint32_t> before(canvas.Bits(), canvas.Bits() + 100 * 60);
    const uint32_t color = 0x5A3C80F0;
    for (int w = 1; w <= 12; ++w) Render::FillRect(canvas, RECT{w, w * 4, w + w, w * 4 + 3}, color);
    const int a = 0x5A;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 100; ++x) {
            const int w = y / 4;
            const bool in = w >= 1 && w <= 12 && y < w * 4 + 3 && x >= w && x < 2 * w;
            const uint32_t old = before[static_cast<size_t>(y) * 100 + x];
            if (!in) { ASSERT_EQ(At(x, y), old) << x << "," << y; continue; }
            for (int shift : {0, 8, 16}) {
                const int expected = static_cast<int>(((color >> shift) & 0xFF) * a / 255.0 + Channel(old, shift) * (255 - a) / 255.0 + 0.5);
                ASSERT_NEAR(Channel(At(x, y), shift), expected, 1) << x << "," << y;
            }
            ASSERT_EQ(At(x, y) >> 24, 0xFFu);
        }
    }
}

TEST_F(Canvas, FillsStayInsideClipAndBuffer)
{
    const RECT saved = canvas.PushClip(RECT{20, 20, 40, 40});
    Render::FillRect(canvas, RECT{-1000, -1000, 1000, 1000}, 0xFFFFFFFF);
    canvas.RestoreClip(saved);
    EXPECT_EQ(At(20, 20), 0xFFFFFFFFu);
    EXPECT_EQ(At(39, 39), 0xFFFFFFFFu);
    EXPECT_EQ(At(19, 20), 0xFF000000u);
    EXPECT_EQ(At(40, 39), 0xFF000000u);
    canvas.RestoreClip(RECT{-50, -50, 5000, 5000});  // cannot widen past the buffer
    EXPECT_EQ(canvas.Clip().right, 100);
    CCanvas none;  // never sized: every primitive is a no-op
    Render::FillRect(none, RECT{0, 0, 10, 10}, 0xFFFFFFFF);
    EXPECT_FALSE(none.Resize(0, 10));
}

TEST_F(Canvas, BorderDrawsInsideOnceAtCorners)
{
    Render::DrawBorder(canvas, RECT{10, 10, 30, 30}, 2, 0x80FFFFFF);
    EXPECT_NEAR(Channel(At(10, 10), 0), 128, 1);  // corner blended once, not twice
    EXPECT_NEAR(Channel(At(29, 29), 0), 128, 1);
    EXPECT_EQ(At(12, 12), 0xFF000000u);
    EXPECT_EQ(At(30, 30), 0xFF000000u);
}

TEST_F(Canvas, NinePatchCornersKeepTheirSize)
{
    ASSERT_TRUE(Render::DrawImage(canvas, RECT{10, 10, 70, 40}, L"file='nine.png' corner='3,3,3,3'"));
    EXPECT_EQ(At(12, 12), A);
    EXPECT_EQ(At(13, 10), E);  // the edge starts right after 3 pixels
    EXPECT_EQ(At(10, 13), E);
    EXPECT_EQ(At(67, 10), B);
    EXPECT_EQ(At(66, 10), E);
    EXPECT_EQ(At(12, 37), C);
    EXPECT_EQ(At(67, 37), D);
    EXPECT_EQ(At(13, 13), M);
    EXPECT_EQ(At(70, 40), 0xFF000000u);

    // Without corners the whole image stretches: the corner colour grows with it.
    ASSERT_TRUE(Render::DrawImage(canvas, RECT{0, 0, 90, 30}, L"nine.png"));
    EXPECT_EQ(At(25, 8), A);
    EXPECT_EQ(At(35, 8), E);

    // Corners wider than the control shrink instead of overlapping.
    ExpectDrawn({0, 0, 4, 4}, L"file='nine.png' corner='3,3,3,3'", {{0, 0, A}, {3, 3, D}, {4, 4, K}});
}

TEST_F(Canvas, HugeAttributeValuesAreClampedNotWrapped)
{
    // Corners are cut to the 24-pixel source (12 + 12 here), dest to the control.
    ExpectDrawn({0, 0, 40, 10}, L"file='bar.png' corner='2000000000,0,2000000000,0'",
                {{0, 0, A}, {11, 9, A}, {27, 5, A}, {28, 5, C}, {39, 9, C}, {40, 0, K}, {0, 10, K}});
    ExpectDrawn({10, 10, 20, 20}, L"file='pair.png' dest='5,5,2147483647,2147483647'",
                {{15, 15, A}, {19, 19, A}, {14, 15, K}, {20, 19, K}});

    // A border wider than its rectangle fills it once, translucent or not.
    Render::FillRect(canvas, RECT{0, 0, 100, 60}, K);
    Render::DrawBorder(canvas, RECT{10, 10, 30, 30}, 2000000000, 0x80FFFFFF);
    Render::DrawBorder(canvas, RECT{-2000000000, 40, 2000000000, 50}, 3, 0x80FFFFFF);
    EXPECT_NEAR(Channel(At(20, 20), 0), 128, 1);
    EXPECT_NEAR(Channel(At(50, 41), 0), 128, 1);
    EXPECT_EQ(At(50, 45), K);
}

TEST_F(Canvas, SourceAndDestPlacement)
{
    // source picks the left pixel of the pair and stretches it over the control.
    ASSERT_TRUE(Render::DrawImage(canvas, RECT{0, 0, 20, 10}, L"file='pair.png' source='0,0,1,1'"));
    EXPECT_EQ(At(0, 0), A);
    EXPECT_EQ(At(19, 9), A);
    ASSERT_TRUE(Render::DrawImage(canvas, RECT{0, 0, 20, 10}, L"file='pair.png' source='1,0,2,1'"));
    EXPECT_EQ(At(0, 0), C);
    // A 1:1 draw is pixel exact.
    ASSERT_TRUE(Render::DrawImage(canvas, RECT{30, 30, 32, 31}, L"pair.png"));
    EXPECT_EQ(At(30, 30), A);
    EXPECT_EQ(At(31, 30), C);

    // dest is relative to the control's top-left; the rest of the control is untouched.
    Render::FillRect(canvas, RECT{0, 0, 100, 60}, 0xFF000000);
    ASSERT_TRUE(Render::DrawImage(canvas, RECT{40, 20, 80, 50}, L"file='pair.png' dest='1,1,25,22'"));
    EXPECT_EQ(At(41, 21), A);
    EXPECT_EQ(At(64, 41), C);
    EXPECT_EQ(At(40, 20), 0xFF000000u);
    EXPECT_EQ(At(65, 21), 0xFF000000u);
    EXPECT_EQ(At(41, 42), 0xFF000000u);

    // A dest reaching outside its control is cut at the control's edge.
    ExpectDrawn({10, 10, 20, 20}, L"file='pair.png' dest='5,5,40,40'", {{19, 19, A}, {20, 19, K}, {19, 20, K}});
}

TEST_F(Canvas, ImageAlphaFadeAndMissingImages)
{
    Render::FillRect(canvas, RECT{0, 0, 100, 60}, 0xFF0000FF);
    ASSERT_TRUE(Render::DrawImage(canvas, RECT{0, 0, 10, 10}, L"glass.png"));
    EXPECT_NEAR(Channel(At(5, 5), 16), 128, 2);  // half white over blue
    EXPECT_NEAR(Channel(At(5, 5), 0), 255, 1);
    ASSERT_TRUE(Render::DrawImage(canvas, RECT{20, 0, 30, 10}, L"file='pair.png' source='0,0,1,1' fade='128'"));
    EXPECT_NEAR(Channel(At(25, 5), 16), 128, 2);
    EXPECT_NEAR(Channel(At(25, 5), 0), 127, 2);

    const uint32_t before = At(50, 30);
    EXPECT_FALSE(Render::DrawImage(canvas, RECT{40, 20, 60, 40}, L"nothere.png"));
    EXPECT_FALSE(Render::DrawImage(canvas, RECT{40, 20, 60, 40}, L""));
    EXPECT_FALSE(Render::DrawImage(canvas, RECT{40, 20, 60, 40}, L"file='nine.png"));
    EXPECT_EQ(At(50, 30), before);
    // Sources outside the image and empty controls draw nothing but are not errors.
    EXPECT_TRUE(Render::DrawImage(canvas, RECT{40, 20, 60, 40}, L"file='nine.png' source='50,50,60,60'"));
    EXPECT_TRUE(Render::DrawImage(canvas, RECT{40, 20, 40, 40}, L"nine.png"));
    EXPECT_EQ(At(50, 30), before);
}

TEST_F(Canvas, TextDrawsInItsColourInsideItsRect)
{
    HFONT font = CreateFontW(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, L"微软雅黑");
    const RECT rc{10, 10, 90, 40};
    Render::DrawText(canvas, rc, L"没有视频在播放 WWW", 0xFFFFFFFF, font, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_END_ELLIPSIS);
    int inside = 0, outside = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 100; ++x) {
            const bool white = (At(x, y) & 0xFFFFFF) == 0xFFFFFF;
            const bool in = x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom;
            (in ? inside : outside) += white ? 1 : 0;
            EXPECT_EQ(At(x, y) >> 24, 0xFFu) << x << "," << y;  // GDI's alpha 0 repaired
            if (HasFailure()) break;
        }
    }
    EXPECT_GT(inside, 30);
    EXPECT_EQ(outside, 0);

    // A translucent strip drawn over the text darkens it like anything else.
    Render::FillRect(canvas, rc, 0x88000000);
    int halfWhite = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            const uint32_t px = At(x, y);
            EXPECT_LE(Channel(px, 16), 120);
            halfWhite += Channel(px, 16) >= 118 ? 1 : 0;
        }
    }
    EXPECT_EQ(halfWhite, inside);

    SIZE small = Render::MeasureText(nullptr, L"ab", font);
    SIZE large = Render::MeasureText(canvas.GetDC(), L"abababab", font);
    EXPECT_GT(small.cx, 0);
    EXPECT_GT(large.cx, small.cx);
    EXPECT_GT(Render::MeasureText(nullptr, L"", font).cy, 0);
    DeleteObject(font);
}
