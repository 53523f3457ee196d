// Bad files never crash or leak, and nothing is left behind by many opens and seeks.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "avcore/win_handle.h"
#include "player_steps.h"
#include "support/child_process.h"

namespace {

using avtest::MediaPath;
using testsupport::PumpUntil;

void ExpectRefused(avplayer& p, const char* path)
{
    EXPECT_EQ(p.open(path, 0, 2, 0, 0), 0);
    EXPECT_EQ(p.play_status(), 0);
    EXPECT_EQ(p.curr_play_time(), 0.0);
    EXPECT_EQ(p.duration(), 0.0);
    p.play(0, 0);
    p.seek_to(0.5);
    EXPECT_EQ(p.play_status(), 0);
}

// A copy of clip.mp4 whose full path is exactly `bytes` long.
std::string CopyWithPathLength(size_t bytes)
{
    std::string dir = MediaPath("long");
    CreateDirectoryA(dir.c_str(), nullptr);
    const size_t fixed = dir.size() + 1 + std::string(".mp4").size();
    if (bytes <= fixed) return {};
    const std::string path = dir + "\\" + std::string(bytes - fixed, 'a') + ".mp4";
    CopyFileA(MediaPath("clip.mp4").c_str(), path.c_str(), FALSE);
    return path;
}

TEST(PlayerRobustness, BadInputsAreRefusedAndTheNextFilePlays)
{
    avtest::TestWindow w(320, 240);
    avtest::WindowedPlayer p(w);
    for (const char* name : {"truncated.mp4", "random.mp4", "empty.mp4", "folder.mp4", "missing.mp4"}) {
        SCOPED_TRACE(name);
        ExpectRefused(p, MediaPath(name).c_str());
    }
    ExpectRefused(p, nullptr);
    ExpectRefused(p, "");
    // A path is at most kMaxAnsiPathBytes long, NUL not counted.
    const std::string longest = CopyWithPathLength(avplayer::kMaxAnsiPathBytes);
    const std::string tooLong = CopyWithPathLength(avplayer::kMaxAnsiPathBytes + 1);
    ASSERT_EQ(tooLong.size(), avplayer::kMaxAnsiPathBytes + 1);
    ExpectRefused(p, tooLong.c_str());
    ExpectRefused(p, std::string(5000, 'x').c_str());
    ASSERT_NE(p.open(longest.c_str(), 0, 2, 0, 0), 0);
    p.close();
    // The window still paints itself after all that.
    EXPECT_TRUE(avtest::PaintsItself(w));
    ASSERT_TRUE(avtest::Open(p));
    EXPECT_TRUE(avtest::PlayPast(p, 0.2));
}

TEST(PlayerRobustness, AFileCutShortEndsWhereItsDataEnds)
{
    avplayer p;
    ASSERT_TRUE(avtest::Open(p, "cut.mp4")) << "its index is whole";
    const double stated = p.duration();
    p.play(0, 0);
    // The clock stops with the data: it never runs on through the part that is missing.
    double furthest = 0.0;
    ASSERT_TRUE(PumpUntil([&] {
        if (p.play_status() == 3) return true;
        furthest = std::max(furthest, p.curr_play_time());
        return false;
    }, 10000));
    const double lastPicture = avplayer_probe::pictureSeconds(p);
    EXPECT_GT(lastPicture, 0.0);
    EXPECT_LT(lastPicture, stated - 1.0);
    EXPECT_LT(furthest, lastPicture + 0.5);
    p.stop();
    p.close();
}

TEST(PlayerRobustness, OpenCloseCyclesAndSeekBurstsLeaveNothingBehind)
{
    avtest::TestWindow w(320, 240);
    auto cycle = [&](avplayer& p, bool play) {
        p.subclasswindow(w.hwnd(), 1);
        ASSERT_TRUE(avtest::Open(p, "clip.mp4", 1, 10));
        if (play) p.play(0, 0);
        p.stop();
        p.close();
    };
    avplayer p;
    for (int i = 0; i < 3; ++i) cycle(p, true);  // let Media Foundation and the drivers settle
    const DWORD handles = avtest::HandleCount();
    // The platform keeps pools of its own that grow and shrink: count only the engine's threads.
    const int threads = avcore::WorkerThread::running();
    for (int i = 0; i < 100; ++i) cycle(p, i % 2 == 0);

    ASSERT_TRUE(avtest::Open(p));
    p.play(0, 0);
    for (int i = 0; i < 100; ++i) p.seek_to(i / 100.0);
    PumpUntil([&] { return p.play_status() == 3; }, 4000);
    p.stop();
    p.close();
    EXPECT_TRUE(PumpUntil([&] { return avcore::WorkerThread::running() <= threads; }, 3000));
    EXPECT_TRUE(PumpUntil([&] { return avtest::HandleCount() <= handles + 2; }, 3000)) << avtest::HandleCount() - handles;
}

TEST(PlayerRobustness, DestructionWhilePlayingPausedOrSeekingIsClean)
{
    avtest::TestWindow w(320, 240);
    for (int state = 0; state < 3; ++state) {
        SCOPED_TRACE(state);
        {
            auto p = std::make_unique<avplayer>();
            p->subclasswindow(w.hwnd(), 1);
            ASSERT_TRUE(avtest::Open(*p));
            avtest::PlayUntilShown(*p);
            if (state == 1) p->pause();
            if (state == 2) p->seek_to(0.7);
        }
        // The window is ours again: its own painting shows.
        EXPECT_TRUE(avtest::PaintsItself(w));
    }
}

TEST(PlayerRobustness, TheWindowMayDieFirst)
{
    avplayer p;
    {
        avtest::TestWindow w(320, 240);
        p.subclasswindow(w.hwnd(), 1);
        ASSERT_TRUE(avtest::Open(p));
        avtest::PlayUntilShown(p);
    }
    testsupport::PumpIdle();
    EXPECT_EQ(p.play_status(), 1);
    EXPECT_EQ(avplayer_probe::window(p), nullptr);
    p.stop();
    p.close();
}

TEST(PlayerRobustness, TheProcessEndsWhilePlaying)
{
    // The player quits with its engine alive and playing: the process must still end promptly.
    const std::string clip = MediaPath("clip.mp4");
    testsupport::ChildProcess child(testsupport::BesideThisExe(L"avcore_exit_child.exe"),
                                    L"\"" + std::wstring(clip.begin(), clip.end()) + L"\"");
    ASSERT_TRUE(child.Started());
    const long long code = child.ExitCode(15000);
    EXPECT_NE(code, -1) << "still running";
    EXPECT_EQ(code, 0);
}

} // namespace
