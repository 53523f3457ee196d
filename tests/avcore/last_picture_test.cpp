// The engine's last picture, as screenshots take it: the video's own size, after the
// shape and the effect, whatever the window's size; nothing before the first picture
// or after the close.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "avcore/avplayer.h"
#include "media_env.h"
#include "support/pump.h"

namespace {

using avtest::MediaPath;
using testsupport::PumpUntil;

constexpr int kWidth = 318, kHeight = 178;   // odd.mp4

// Mean absolute difference of the centre's channels (a quarter of the picture each way).
double CentreDifference(const std::vector<uint8_t>& shown, const std::vector<uint8_t>& expected) {
    double sum = 0;
    int n = 0;
    for (int y = kHeight * 3 / 8; y < kHeight * 5 / 8; ++y)
        for (int x = kWidth * 3 / 8; x < kWidth * 5 / 8; ++x)
            for (int c = 0; c < 3; ++c, ++n) {
                const size_t i = (static_cast<size_t>(y) * kWidth + x) * 4 + c;
                sum += std::abs(int(shown[i]) - int(expected[i]));
            }
    return sum / n;
}

bool CornersBlack(const std::vector<uint8_t>& bgra) {
    for (size_t at : {size_t{0}, size_t{kWidth - 1}, size_t{kHeight - 1} * kWidth, size_t{kHeight} * kWidth - 1})
        if (bgra[at * 4] || bgra[at * 4 + 1] || bgra[at * 4 + 2]) return false;
    return true;
}

TEST(LastPicture, IsTheVideosOwnSizeAfterShapeAndEffect)
{
    const std::vector<uint8_t> reference = avtest::ReadMedia("odd-frame0-sited.bgra");
    ASSERT_EQ(reference.size(), size_t{kWidth} * kHeight * 4);
    std::vector<uint8_t> inverted = reference;
    for (size_t i = 0; i < reference.size(); ++i) inverted[i] = static_cast<uint8_t>(255 - reference[i]);

    // A window of another shape and size: the picture is not the window's.
    avtest::TestWindow window(200, 300);
    struct Case {
        const char* what;
        int shape, effect;
        const std::vector<uint8_t>* centre;   // what the centre shows
        bool cornersBlack;
        bool grey;
    } cases[] = {
        {"no shape, no effect", 0, 0, &reference, false, false},
        {"ellipse, inverted colours", 1, 15, &inverted, true, false},
        {"water drop, black and white", 2, 10, nullptr, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        avplayer p;
        p.subclasswindow(window.hwnd(), 1);
        std::vector<unsigned char> shown;
        int w = 0, h = 0;
        EXPECT_FALSE(p.last_picture(shown, w, h)) << "nothing is open";
        ASSERT_NE(p.open(MediaPath("odd.mp4").c_str(), 0, 2, c.shape, c.effect), 0);
        ASSERT_TRUE(PumpUntil([&] { return p.last_picture(shown, w, h); }, 2000));
        ASSERT_EQ(w, kWidth);
        ASSERT_EQ(h, kHeight);
        ASSERT_EQ(shown.size(), size_t{kWidth} * kHeight * 4);
        if (c.centre) EXPECT_LT(CentreDifference(shown, *c.centre), 2.0);
        if (c.shape == 0) EXPECT_LT(avtest::MeanDifference(shown, reference), 1.5);
        if (c.cornersBlack) EXPECT_TRUE(CornersBlack(shown));
        if (c.grey) {
            int coloured = 0;
            for (size_t i = 0; i < shown.size(); i += 4)
                coloured += std::abs(shown[i] - shown[i + 1]) > 2 || std::abs(shown[i + 1] - shown[i + 2]) > 2;
            EXPECT_EQ(coloured, 0);
        }
        p.close();
        EXPECT_FALSE(p.last_picture(shown, w, h)) << "closed";
    }
}

} // namespace
