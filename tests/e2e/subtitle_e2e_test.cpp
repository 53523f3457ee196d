// The real Morvane.exe with subtitles beside its files: a same-name .srt shows white
// text in the bottom fifth of the picture during its cue and none after it, and a
// GB18030 .srt with Chinese text shows as well.
#include "avcore/letterbox.h"
#include "e2e/e2e_start.h"
#include "e2e/picture.h"

namespace {

using namespace e2e;

struct Text {
    int pixels = 0;
    double height = 0.0;  // rows holding text, as a share of the picture's height
};

// Near-white pixels in the bottom fifth of the (4:3) picture inside region.
Text TextIn(const testsupport::Shot& shot, const RECT& region) {
    const RECT picture = avcore::FitPicture(region, 4.0 / 3.0);
    const int h = picture.bottom - picture.top;
    Text text;
    int first = -1, last = -1;
    for (int y = picture.bottom - h / 5; y < picture.bottom; ++y) {
        const int row = shot.CountBright(RECT{picture.left, y, picture.right, y + 1}, 0xEA);
        text.pixels += row;
        if (row && first < 0) first = y;
        if (row) last = y;
    }
    text.height = h > 0 && first >= 0 ? static_cast<double>(last - first + 1) / h : 0.0;
    return text;
}

using SubtitleEndToEnd = PlayerTest;

TEST_F(SubtitleEndToEnd, ASameNameSrtShowsDuringItsCueOnlyAndAGb18030OneShowsToo) {
    ASSERT_FALSE(run.work.empty()) << "run through run_e2e.sh, which sets MORVANE_E2E_DIR";
    // The flat-colour clips: the text is the only near-white there is.
    const std::wstring clip = run.media + L"\\talk.mkv", gbClip = run.media + L"\\gb.mkv";
    ASSERT_TRUE(CopyFileW((run.media + L"\\second.mkv").c_str(), clip.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW((run.media + L"\\long.mkv").c_str(), gbClip.c_str(), FALSE));
    ASSERT_TRUE(WriteFileBytes(run.media + L"\\talk.srt", "1\r\n00:00:01,500 --> 00:00:03,000\r\nHello subtitles\r\n"));
    // 中文字幕 in GB18030, no BOM.
    ASSERT_TRUE(WriteFileBytes(run.media + L"\\gb.chs.srt",
                               "1\n00:00:00,000 --> 00:00:50,000\n\xD6\xD0\xCE\xC4\xD7\xD6\xC4\xBB\n"));
    ASSERT_TRUE(Render(ListedFile{clip, L"talk.mkv"}, ListedFile{gbClip, L"gb.mkv"}, {kPlaying, kPaused, L"停止"},
                       ClockTexts(9)));

    ASSERT_TRUE(Start(L"\"" + clip + L"\""));
    const RECT region = refs.layout.playRegion;
    ASSERT_TRUE(screen.Await("text-during-the-cue", [&] {
        const std::wstring clock = screen.Clock();
        return screen.ShowsSecondClip() && (clock == L"00:00:01" || clock == L"00:00:02") &&
               TextIn(screen.Shot(), region).pixels > 30;
    }, 20000));
    screen.Save(L"e2e-subtitle-during.png");
    ASSERT_TRUE(screen.Await("no-text-after-the-cue", [&] {
        const std::wstring clock = screen.Clock();
        return screen.ShowsSecondClip() && (clock == L"00:00:04" || clock == L"00:00:05");
    }, 20000));
    EXPECT_EQ(TextIn(screen.Shot(), region).pixels, 0);
    screen.Save(L"e2e-subtitle-after.png");

    // A second start hands over the file with the GB18030 subtitle.
    PlayerProcess again(run.exe, run.media, L"\"" + gbClip + L"\"");
    EXPECT_EQ(again.ExitCode(30000), 0);
    ASSERT_TRUE(screen.Await("gb18030-text", [&] {
        return screen.ShowsSecondClip() && TextIn(screen.Shot(), region).pixels > 30;
    }, 20000));
    screen.Save(L"e2e-subtitle-gb18030.png");
    const double windowHeight = TextIn(screen.Shot(), region).height;

    // Full screen: the text keeps its share of the picture.
    const RECT whole = ScreenRect();
    DoubleClickAt(screen.CenterOf(region));
    testsupport::Shot full;
    ASSERT_TRUE(testsupport::PumpUntil([&] {
        return CaptureScreen(whole, full) && ShareNear(full, InnerBox(whole), kFlatColour, 32) > 0.9 &&
               TextIn(full, whole).pixels > 30;
    }, 8000)) << "no text on the full screen";
    SaveShot(full, testsupport::ScreenshotPath(L"e2e-subtitle-fullscreen.png"));
    EXPECT_NEAR(TextIn(full, whole).height, windowHeight, 0.25 * windowHeight);
}

} // namespace
