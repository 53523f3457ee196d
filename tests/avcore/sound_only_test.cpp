// A file of sound alone plays as a video does: clock, seek and end of file, with
// nothing drawn over the window's own painting.
#include <gtest/gtest.h>

#include "avcore/avplayer.h"
#include "avcore/avplayer_probe.h"
#include "media_env.h"
#include "support/pump.h"

namespace {

using avtest::MediaPath;
using testsupport::PumpUntil;

TEST(PlayerSoundOnly, PlaysSeeksAndEndsLikeAVideo)
{
    avtest::TestWindow w(320, 240);
    avplayer p;
    p.subclasswindow(w.hwnd(), 1);
    ASSERT_NE(p.open(MediaPath("audioonly.m4a").c_str(), 0, 2, 0, 0), 0);
    EXPECT_FALSE(p.has_video());
    EXPECT_TRUE(avplayer_probe::hasAudioTrack(p));
    EXPECT_NEAR(p.duration(), 3.0, 0.1);
    EXPECT_EQ(p.play_status(), 4);

    p.play(0.0, 0);
    ASSERT_TRUE(PumpUntil([&] { return p.curr_play_time() > 0.5; }, 4000)) << "the clock does not run";
    EXPECT_EQ(p.play_status(), 1);
    // Pause holds the clock; a seek lands where asked, also while paused.
    ASSERT_EQ(p.pause(), 1);
    const double held = p.curr_play_time();
    p.seek_to(0.5);
    ASSERT_TRUE(PumpUntil([&] { return std::abs(p.curr_play_time() - 1.5) < 0.05; }, 3000)) << p.curr_play_time();
    EXPECT_NE(p.curr_play_time(), held);
    ASSERT_EQ(p.resume(), 1);
    ASSERT_TRUE(PumpUntil([&] { return p.play_status() == 3; }, 6000)) << "no end of file at " << p.curr_play_time();
    EXPECT_DOUBLE_EQ(p.curr_play_time(), p.duration());
    // Nothing was drawn: the window kept its own picture.
    EXPECT_EQ(avplayer_probe::counters(p).presented, 0u);
    EXPECT_LT(avplayer_probe::pictureSeconds(p), 0.0);

    // The next file with pictures says so.
    ASSERT_NE(p.open(MediaPath("clip.mp4").c_str(), 0, 2, 0, 0), 0);
    EXPECT_TRUE(p.has_video());
    p.close();
    EXPECT_FALSE(p.has_video());
}

} // namespace
