// The real Morvane.exe with subtitles beside its files: a same-name .srt shows white
// text in the bottom fifth of the picture during its cue and none after it, and a
// GB18030 .srt with Chinese text shows as well.
#include <gtest/gtest.h>

#include <windows.h>
#include <string>
#include "avcore/letterbox.h"
#include "e2e/desktop_io.h"
#include "e2e/player_process.h"
#include "e2e/player_screen.h"
#include "e2e/reference_frame.h"

namespace {

using namespace e2e;

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(h);
    return ok;
}

// Near-white pixels in the bottom fifth of the (4:3) picture inside the play region.
int TextPixels(const PlayerScreen& screen, const RECT& playRegion) {
    const RECT picture = avcore::FitPicture(playRegion, 4.0 / 3.0);
    const RECT bottom{picture.left, picture.bottom - (picture.bottom - picture.top) / 5, picture.right, picture.bottom};
    return screen.Shot().CountBright(bottom, 0xEA);
}

TEST(SubtitleEndToEnd, ASameNameSrtShowsDuringItsCueOnlyAndAGb18030OneShowsToo) {
    const std::wstring work = Env(L"MORVANE_E2E_DIR");
    ASSERT_FALSE(work.empty()) << "run through run_e2e.sh, which sets MORVANE_E2E_DIR";
    const std::wstring media = work + L"\\media";
    // The flat-colour clips: the text is the only near-white there is.
    const std::wstring clip = media + L"\\talk.mkv", gbClip = media + L"\\gb.mkv";
    ASSERT_TRUE(CopyFileW((media + L"\\second.mkv").c_str(), clip.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW((media + L"\\long.mkv").c_str(), gbClip.c_str(), FALSE));
    ASSERT_TRUE(WriteBytes(media + L"\\talk.srt", "1\r\n00:00:01,500 --> 00:00:03,000\r\nHello subtitles\r\n"));
    // 中文字幕 in GB18030, no BOM.
    ASSERT_TRUE(WriteBytes(media + L"\\gb.chs.srt", "1\n00:00:00,000 --> 00:00:50,000\n\xD6\xD0\xCE\xC4\xD7\xD6\xC4\xBB\n"));

    std::vector<std::wstring> clocks;
    for (int s = 0; s < 10; ++s) clocks.push_back(L"00:00:0" + std::to_wstring(s));
    References refs;
    const std::wstring error = RenderReferences(ListedFile{clip, L"talk.mkv"}, ListedFile{gbClip, L"gb.mkv"},
                                                {kPlaying, kPaused, L"停止"}, clocks, refs);
    ASSERT_TRUE(error.empty()) << Utf8(error);
    const std::wstring folder = work + L"\\player", exe = folder + L"\\Morvane.exe";
    const std::wstring copied = PrivateCopy(folder);
    ASSERT_TRUE(copied.empty()) << Utf8(copied);

    PlayerProcess player(exe, media, L"\"" + clip + L"\"");
    HWND main = nullptr;
    ASSERT_TRUE(AwaitMainWindow(player, main));
    PlayerScreen screen(main, refs);
    const RECT region = refs.layout.playRegion;
    ASSERT_TRUE(screen.Await("text-during-the-cue", [&] {
        const std::wstring clock = screen.Clock();
        return screen.ShowsSecondClip() && (clock == L"00:00:01" || clock == L"00:00:02") &&
               TextPixels(screen, region) > 30;
    }, 20000));
    screen.Save(L"e2e-subtitle-during.png");
    ASSERT_TRUE(screen.Await("no-text-after-the-cue", [&] {
        const std::wstring clock = screen.Clock();
        return screen.ShowsSecondClip() && (clock == L"00:00:04" || clock == L"00:00:05");
    }, 20000));
    EXPECT_EQ(TextPixels(screen, region), 0);
    screen.Save(L"e2e-subtitle-after.png");

    // A second start hands over the file with the GB18030 subtitle.
    PlayerProcess again(exe, media, L"\"" + gbClip + L"\"");
    EXPECT_EQ(again.ExitCode(30000), 0);
    ASSERT_TRUE(screen.Await("gb18030-text", [&] {
        return screen.ShowsSecondClip() && TextPixels(screen, region) > 30;
    }, 20000));
    screen.Save(L"e2e-subtitle-gb18030.png");
}

} // namespace
