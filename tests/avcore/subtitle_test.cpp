// Subtitles over the picture: which pictures carry a cue (within one picture of its
// times, shifted by the delay, none when hidden), where and how large the text sits,
// and the same against the engine's clock on a playing clip.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "avcore/subtitle_overlay.h"
#include "avcore/subtitle_parse.h"
#include "player_steps.h"
#include "support/screenshot.h"

namespace {

using avtest::TestWindow;
using testsupport::PumpUntil;

constexpr double kFrame = 1.0 / 30;

// The rows of a top-down BGRA picture that hold white text, counted per row.
struct TextRows {
    int white = 0, first = -1, last = -1, left = -1, right = -1;
};

TextRows FindWhite(const std::vector<uint8_t>& bgra, int w, int h)
{
    TextRows t;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = &bgra[(static_cast<size_t>(y) * w + x) * 4];
            if (p[0] < 0xEB || p[1] < 0xEB || p[2] < 0xEB) continue;
            ++t.white;
            if (t.first < 0) t.first = y;
            t.last = y;
            t.left = t.left < 0 ? x : std::min(t.left, x);
            t.right = std::max(t.right, x);
        }
    return t;
}

std::shared_ptr<avcore::SubtitleTrack> OneCue(const wchar_t* srt)
{
    auto track = std::make_shared<avcore::SubtitleTrack>();
    EXPECT_EQ(avcore::ParseSubtitles(srt, avcore::SubtitleFormat::Srt, *track), avcore::SubtitleParse::Ok);
    return track;
}

TEST(SubtitleOverlayTiming, PicturesAroundTheCueEdges)
{
    avcore::SubtitleOverlay overlay;
    overlay.setTrack(OneCue(L"1\n00:00:01,000 --> 00:00:02,000\n字幕 Text\n"));
    const struct { double pts, delay; bool visible, shown; } cases[] = {
        {1.0 - kFrame, 0.0, true, false}, {1.0, 0.0, true, true},    {2.0 - kFrame, 0.0, true, true},
        {2.0, 0.0, true, false},          {1.0, 0.1, true, false},   {1.1, 0.1, true, true},
        {2.05, 0.1, true, true},          {0.95, -0.1, true, true},  {1.5, 0.0, false, false},
    };
    for (const auto& c : cases) {
        overlay.setDelay(c.delay);
        overlay.setVisible(c.visible);
        std::vector<uint8_t> picture(320 * 240 * 4, 0x40);
        overlay.drawOnto(picture.data(), 320, 240, 320 * 4, c.pts);
        EXPECT_EQ(overlay.dueAt(c.pts), c.shown) << c.pts << " delay " << c.delay;
        EXPECT_EQ(FindWhite(picture, 320, 240).white > 0, c.shown) << c.pts << " delay " << c.delay;
    }
}

// Centred in the bottom fifth, the same share of the picture at two sizes, with a
// dark edge around pure white (nothing tints it).
TEST(SubtitleOverlayLook, CentredAtTheBottomAndScaledWithThePicture)
{
    avcore::SubtitleOverlay overlay;
    overlay.setTrack(OneCue(L"1\n00:00:01,000 --> 00:00:02,000\n字幕 Text\n"));
    double heights[2] = {};
    const int sizes[2][2] = {{320, 240}, {1280, 960}};
    for (int i = 0; i < 2; ++i) {
        const int w = sizes[i][0], h = sizes[i][1];
        std::vector<uint8_t> picture(static_cast<size_t>(w) * h * 4, 0x80);
        overlay.drawOnto(picture.data(), w, h, w * 4, 1.5);
        const TextRows t = FindWhite(picture, w, h);
        ASSERT_GT(t.white, 0) << w;
        EXPECT_GE(t.first, h * 4 / 5) << w;
        EXPECT_NEAR((t.left + t.right) / 2.0, w / 2.0, w * 0.03) << w;
        heights[i] = static_cast<double>(t.last - t.first + 1) / h;
        bool darkEdge = false, pureWhite = false;
        for (int x = 0; x < w; ++x)
            darkEdge = darkEdge || picture[(static_cast<size_t>(t.last + 1) * w + x) * 4 + 1] < 0x30;
        for (size_t k = 0; k < picture.size(); k += 4)
            pureWhite = pureWhite || (picture[k] == 255 && picture[k + 1] == 255 && picture[k + 2] == 255);
        EXPECT_TRUE(darkEdge) << w;
        EXPECT_TRUE(pureWhite) << w;
    }
    EXPECT_NEAR(heights[0], heights[1], 0.2 * heights[1]);
}

std::wstring WriteTempSrt(const char* bytes)
{
    const std::wstring path = (std::filesystem::temp_directory_path() / L"morvane_clock_test.srt").wstring();
    std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
    return path;
}

int WhiteInBottomFifth(HWND hwnd)
{
    testsupport::Shot shot;
    if (!testsupport::CaptureWindow(hwnd, shot)) return -1;
    return shot.CountBright(RECT{0, shot.height * 4 / 5, shot.width, shot.height}, 0xEA);
}

// Paused at a picture in the cue and at one past it: the picture on screen carries the
// text exactly when its time lies in the cue, and the clock is within a picture of it.
TEST(SubtitleClock, TextFollowsThePictureOnScreen)
{
    TestWindow w(320, 240);
    avplayer p;
    ASSERT_EQ(p.subclasswindow(w.hwnd(), 1), 1);
    ASSERT_TRUE(avtest::Open(p));
    const std::wstring srt = WriteTempSrt("1\r\n00:00:01,000 --> 00:00:02,000\r\nSubtitle\r\n");
    EXPECT_EQ(p.set_subtitles((srt + L".missing").c_str()), 0);
    ASSERT_EQ(p.set_subtitles(srt.c_str()), 1);
    p.play(0, 0);
    const struct { double from, to; bool shown; } stops[] = {{1.2, 1.8, true}, {2.1, 3.0, false}};
    for (const auto& stop : stops) {
        ASSERT_TRUE(PumpUntil([&] { return avplayer_probe::pictureSeconds(p) >= stop.from; }, 8000)) << stop.from;
        p.pause();
        const double shownAt = avplayer_probe::pictureSeconds(p);
        ASSERT_LT(shownAt, stop.to) << "the clip ran past the stop";
        EXPECT_NEAR(p.curr_play_time(), shownAt, 2 * kFrame);
        EXPECT_EQ(WhiteInBottomFifth(w.hwnd()) > 20, stop.shown) << shownAt;
        if (stop.shown) {
            p.subtitles_show(false);  // hidden at once, while paused
            EXPECT_EQ(WhiteInBottomFifth(w.hwnd()), 0);
            p.subtitles_show(true);
        }
        p.resume();
    }
    p.stop();
    p.close();
    DeleteFileW(srt.c_str());
}

} // namespace
