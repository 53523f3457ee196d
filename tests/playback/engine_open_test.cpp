// The player's paths on the real engine: the ANSI limit both sides agree on, and a
// name the ANSI code page cannot say, on volumes with and without short names.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "avcore/avplayer.h"
#include "avcore/media_env.h"
#include "support/paths.h"
#include "support/pump.h"
#include "playback/EnginePath.h"

using DuiLib::OpenInEngine;

namespace {

constexpr EffectSettings kPlain{0, 0};

// A copy of clip.mp4 in a folder of this test's own: name is a file name, or empty for
// one that makes the whole ANSI path exactly `bytes` long.
std::wstring ClipCopy(const std::wstring& name, size_t bytes = 0) {
    const std::wstring folder = testsupport::WindowsPath(avtest::MediaPath("engine-open"));
    CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring path = folder + L"\\" + name;
    if (bytes)
        path += std::wstring(bytes - path.size() - 4, L'c') + L".mp4";
    CopyFileW(testsupport::WindowsPath(avtest::MediaPath("clip.mp4")).c_str(), path.c_str(), FALSE);
    return path;
}

::testing::AssertionResult Plays(avplayer& player) {
    player.play(0, 0);
    if (testsupport::PumpUntil([&] { return player.curr_play_time() > 0.2; }, 5000))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "status " << player.play_status() << " at " << player.curr_play_time() << " s";
}

TEST(EngineOpen, BothSidesAgreeOnTheAnsiLimit) {
    avtest::TestWindow window(320, 240);
    const struct {
        size_t bytes;
        bool engineTakesIt;
    } cases[] = {{avplayer::kMaxAnsiPathBytes, true}, {avplayer::kMaxAnsiPathBytes + 1, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        const std::wstring path = ClipCopy(L"", c.bytes);
        std::string ansi(path.begin(), path.end());
        ASSERT_EQ(ansi.size(), c.bytes);
        avplayer player;
        player.subclasswindow(window.hwnd(), 1);
        EXPECT_EQ(player.open(ansi.c_str(), 0, 2, 0, 0) != 0, c.engineTakesIt);
        // The player opens both: the second by its short path.
        ASSERT_NE(OpenInEngine(player, path, kPlain), 0);
        EXPECT_TRUE(Plays(player));
    }
}

TEST(EngineOpen, ANameWithoutAnAnsiFormPlaysWithOrWithoutShortNames) {
    avtest::TestWindow window(320, 240);
    const std::wstring path = ClipCopy(L"\u89c6\u9891-\u03a9mega.mp4");
    const struct {
        const char* volume;
        DuiLib::ShortPathLookup lookup;
    } cases[] = {{"with short names", DuiLib::SystemShortPath},
                 {"without", [](const std::wstring&) { return std::wstring(); }}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.volume);
        avplayer player;
        player.subclasswindow(window.hwnd(), 1);
        ASSERT_NE(OpenInEngine(player, path, kPlain, c.lookup), 0);
        EXPECT_TRUE(Plays(player));
    }
    avplayer player;
    player.subclasswindow(window.hwnd(), 1);
    ASSERT_NE(player.open_wide(path.c_str(), 0, 2, 1, 0), 0);
    EXPECT_TRUE(Plays(player));
    EXPECT_EQ(player.open_wide((path + L".missing").c_str(), 0, 2, 0, 0), 0);
    EXPECT_EQ(player.open_wide(nullptr, 0, 2, 0, 0), 0);
    EXPECT_EQ(player.play_status(), 0);
}

} // namespace
