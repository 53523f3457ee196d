// Arrow keys and the wheel, on the main window and on the picture, with the recording
// engine: what reaches the engine, and when the arrows belong to a focused control.
#include <cmath>
#include <optional>

#include "app/PlayerCommands.h"
#include "app/frame_harness.h"
#include "playback/PlaybackSpeed.h"
#include "video/VideoRealWnd.h"

using namespace DuiLib;

namespace {

// The picture reaches the main window through g_pMainFrame.
class KeysTest : public apptest::MainWindowFixture {
protected:
    KeysTest() : MainWindowFixture({.global = true, .polling = false}) {}

    // The first argument of the latest call of that name, if there was one.
    std::optional<double> LastArgument(const char* name) const {
        std::optional<double> value;
        for (const auto& call : engine().calls)
            if (call.name == name) value = call.numbers.at(0);
        return value;
    }
    void Key(HWND to, WPARAM key) { SendMessageW(to, WM_KEYDOWN, key, 0); }
    HWND Main() const { return frame->GetHWND(); }
    HWND Picture() const { return frame->m_pVideoWnd->GetHWND(); }
};

TEST_F(KeysTest, ArrowsSeekFiveSecondsWithinTheFileAndBracketsStepTheSpeed) {
    struct Case {
        const char* what;
        int status;
        double position, duration;
        WPARAM key;
        std::optional<double> fraction;   // the seek asked for
        double speed, speedAfter;
    } cases[] = {
        {"forward while playing", 1, 30.0, 100.0, VK_RIGHT, 0.35, 1.0, 1.0},
        {"back while paused", 2, 30.0, 100.0, VK_LEFT, 0.25, 1.0, 1.0},
        {"back near the start stops at 0", 1, 3.0, 100.0, VK_LEFT, 0.0, 1.0, 1.0},
        {"forward near the end stops at the end", 1, 98.0, 100.0, VK_RIGHT, 1.0, 1.0, 1.0},
        {"stopped: nothing", 4, 30.0, 100.0, VK_RIGHT, std::nullopt, 1.0, 1.0},
        {"nothing open: nothing", 0, 0.0, 0.0, VK_LEFT, std::nullopt, 1.0, 1.0},
        {"no duration: nothing", 1, 3.0, 0.0, VK_RIGHT, std::nullopt, 1.0, 1.0},
        {"] steps up", 0, 0.0, 0.0, VK_OEM_6, std::nullopt, 1.0, 1.25},
        {"[ steps down", 0, 0.0, 0.0, VK_OEM_4, std::nullopt, 1.0, 0.75},
        {"] stops at 2x", 0, 0.0, 0.0, VK_OEM_6, std::nullopt, 2.0, 2.0},
        {"[ stops at 0.5x", 0, 0.0, 0.0, VK_OEM_4, std::nullopt, 0.5, 0.5},
        {"backspace from 1.75x", 0, 0.0, 0.0, VK_BACK, std::nullopt, 1.75, 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (HWND to : {Main(), Picture()}) {
            engine().Clear();
            engine().script.SetProgress(c.status, c.position, c.duration);
            engine().script.speed = c.speed;
            Key(to, c.key);
            ASSERT_EQ(LastArgument("seek_to").has_value(), c.fraction.has_value());
            if (c.fraction) EXPECT_NEAR(*LastArgument("seek_to"), *c.fraction, 1e-9);
            EXPECT_EQ(engine().script.speed, c.speedAfter);
        }
    }
}

TEST_F(KeysTest, VShowsOrHidesZAndXShiftTheSubtitlesByATenth) {
    CControlUI* status = apptest::Find(frame, L"txt_playstatus");
    ASSERT_NE(status, nullptr);
    const struct { WPARAM key; bool shown; double delay; const wchar_t* notice; } steps[] = {
        {'V', false, 0.0, nullptr},          {'V', true, 0.0, nullptr},
        {'X', true, 0.1, L"字幕延迟 +0.1 秒"}, {'X', true, 0.2, L"字幕延迟 +0.2 秒"},
        {'Z', true, 0.1, L"字幕延迟 +0.1 秒"}, {'Z', true, 0.0, L"字幕延迟 +0.0 秒"},
        {'Z', true, -0.1, L"字幕延迟 -0.1 秒"},
    };
    int i = 0;
    for (const auto& step : steps) {
        Key(i++ % 2 ? Main() : Picture(), step.key);
        EXPECT_EQ(engine().script.subtitlesShown, step.shown) << i;
        EXPECT_NEAR(engine().script.subtitlesDelay, step.delay, 1e-9) << i;
        if (step.notice) EXPECT_EQ(status->GetText(), CDuiString(step.notice)) << i;
    }
}

TEST_F(KeysTest, UpDownAndTheWheelMoveTheVolumeSliderAndTheEngine) {
    CSliderUI* slider = frame->m_pVolumeSlider;
    ASSERT_NE(slider, nullptr);
    slider->SetValue(50);
    Key(Main(), VK_UP);
    EXPECT_EQ(slider->GetValue(), 55);
    EXPECT_EQ(LastArgument("volume"), 55.0);
    Key(Picture(), VK_DOWN);
    Key(Picture(), VK_DOWN);
    EXPECT_EQ(slider->GetValue(), 45);
    EXPECT_EQ(LastArgument("volume"), 45.0);

    // The wheel over the picture: a notch is a step; half notches add up.
    SendMessageW(Picture(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(slider->GetValue(), 50);
    SendMessageW(Picture(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA / 2)), 0);
    EXPECT_EQ(slider->GetValue(), 50);
    SendMessageW(Picture(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA / 2)), 0);
    EXPECT_EQ(slider->GetValue(), 45);

    // The ends hold.
    slider->SetValue(98);
    Key(Main(), VK_UP);
    EXPECT_EQ(slider->GetValue(), 100);
    EXPECT_EQ(LastArgument("volume"), 100.0);
    slider->SetValue(3);
    Key(Main(), VK_DOWN);
    EXPECT_EQ(LastArgument("volume"), 0.0);
}

// The two tables every window reads: a name in either layout, a key with or without Ctrl.
TEST(PlayerCommands, ControlNamesAndKeysNameTheirCommands) {
    using playercmd::Command;
    const struct { const wchar_t* name; Command command; } controls[] = {
        {L"btn_play", Command::Play},       {L"btn_stop", Command::Stop},     {L"btn_prev", Command::Previous},
        {L"btn_next", Command::Next},       {L"btn_mute", Command::Mute},     {L"btn_muteoff", Command::MuteOff},
        {L"btn_fullscreen", Command::FullScreen}, {L"btn_close", Command::Close},
        {L"slider_play", Command::None},    {L"BTN_PLAY", Command::None},     {L"", Command::None},
        {nullptr, Command::None},
    };
    for (const auto& c : controls)
        EXPECT_EQ(playercmd::CommandOfControl(c.name), c.command) << (c.name ? c.name : L"(null)");
    const struct { unsigned key; bool ctrl; Command command; } keys[] = {
        {'S', true, Command::Screenshot},   {'S', false, Command::None},
        {'V', true, Command::ShowOrHideSubtitles}, {VK_LEFT, true, Command::SeekBack},
        {VK_ESCAPE, false, Command::FullScreen},   {VK_RETURN, false, Command::PauseOrResume},
        {VK_BACK, false, Command::NormalSpeed},    {'Q', false, Command::None},
    };
    for (const auto& k : keys)
        EXPECT_EQ(playercmd::CommandOfKey(k.key, k.ctrl), k.command) << k.key << (k.ctrl ? " with Ctrl" : "");
    EXPECT_TRUE(playercmd::IsArrowCommand(Command::VolumeDown));
    EXPECT_FALSE(playercmd::IsArrowCommand(Command::SlowerSpeed));
}

TEST_F(KeysTest, AFocusedListKeepsItsArrows) {
    frame->AddListItem(L"C:\\a.mp4", L"a.mp4");
    frame->AddListItem(L"C:\\b.mp4", L"b.mp4");
    frame->m_pPlayList->SelectItem(0, false);
    frame->m_pPlayList->SetFocus();
    engine().script.SetProgress(1, 0, 100);
    const int volume = frame->m_pVolumeSlider->GetValue();
    Key(Main(), VK_DOWN);
    EXPECT_EQ(frame->m_pPlayList->GetCurSel(), 1);
    EXPECT_EQ(frame->m_pVolumeSlider->GetValue(), volume);
    EXPECT_FALSE(LastArgument("volume").has_value());
}

} // namespace

TEST(PlaybackSpeed, StepsSnapToQuartersWithinTheRangeAndNameThemselves) {
    struct Case {
        double current;
        int steps;
        double expected;
    } steps[] = {{1.0, 1, 1.25}, {1.1, 0, 1.0}, {1.9, 1, 2.0}, {0.6, -1, 0.5}, {std::nan(""), 2, 1.5}, {0.5, 6, 2.0}};
    for (const auto& c : steps)
        EXPECT_EQ(SteppedSpeed(c.current, c.steps), c.expected) << c.current << " by " << c.steps;
    const std::pair<double, const wchar_t*> texts[] = {
        {1.0, L"正在播放"}, {1.5, L"正在播放 1.5x"}, {0.75, L"正在播放 0.75x"}, {2.0, L"正在播放 2x"}};
    for (const auto& [speed, text] : texts) EXPECT_EQ(PlayingStatusText(speed), text);
}

TEST_F(KeysTest, TheTickShowsTheSpeedAndTheNameOfAFileOfSoundAlone) {
    frame->m_strCurPath = L"C:\\music\\tone.m4a";
    auto label = [&] { return std::wstring(frame->m_pVideoWnd->NoVideoText().GetData()); };
    engine().script = {.status = 1, .speed = 1.5, .hasVideo = false};
    frame->UpdateProgress();
    EXPECT_EQ(apptest::TextOf(frame, L"txt_playstatus"), L"正在播放 1.5x");
    EXPECT_EQ(label(), L"tone.m4a");
    engine().script.status = 2;
    frame->UpdateProgress();
    EXPECT_EQ(label(), L"tone.m4a");
    engine().script.status = 4;
    frame->UpdateProgress();
    EXPECT_EQ(label(), L"没有视频在播放");
    engine().script = {.status = 1, .speed = 1.0, .hasVideo = true};
    frame->UpdateProgress();
    EXPECT_EQ(apptest::TextOf(frame, L"txt_playstatus"), L"正在播放");
    EXPECT_EQ(label(), L"没有视频在播放");
}

