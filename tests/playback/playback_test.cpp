// Playback commands, the polling tick, volume and mute, and the list panel, on a real
// main window whose engine records every call.
#include "app/frame_harness.h"
#include "playback/ProgressMath.h"
#include "video/VideoRealWnd.h"

using namespace DuiLib;
using Calls = std::vector<std::string>;

namespace {

std::wstring RowPath(int row) { return L"C:\\v\\" + std::to_wstring(row) + L".mp4"; }

// What opening a row asks of the engine, after any stop and close.
Calls OpenRow(int row, int shape = 1, int effect = 0) {
    return {"subclasswindow(video,1)",
            "open(C:\\v\\" + std::to_string(row) + ".mp4,0,2," + std::to_string(shape) + "," + std::to_string(effect) + ")",
            "play(0,0)"};
}

Calls operator+(Calls a, const Calls& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const Calls kStopClose{"stop()", "close()"};

// The tests tick the progress themselves.
class PlaybackTest : public apptest::MainWindowFixture {
protected:
    PlaybackTest() : MainWindowFixture({.polling = false}) {}
    void SetUpWindow() override { ASSERT_NE(frame->m_pVideoWnd, nullptr); }

    void AddRows(int n) {
        for (int i = 0; i < n; ++i)
            frame->AddListItem(RowPath(i).c_str(), (std::to_wstring(i) + L".mp4").c_str());
    }
    // A list of `rows` rows, `selected` selected, `loaded` opened (-1: none) with the engine in
    // `status`, and no engine call made yet.
    void Prepare(int rows, int selected, int loaded, int status) {
        frame->ClearList();
        AddRows(rows);
        frame->m_pPlayList->SelectItem(selected, false);
        frame->m_strCurPath = loaded >= 0 ? RowPath(loaded).c_str() : L"";
        engine().script.status = status;
        engine().Clear();
    }
    // The engine's commands, the video window's handle shown as "video".
    Calls Commands() { return engine().CommandTexts(frame->m_pVideoWnd->GetHWND()); }
    std::wstring Text(const wchar_t* name) { return apptest::TextOf(frame, name); }
};

TEST_F(PlaybackTest, CommandsOpenPauseOrMoveTheSelection) {
    using Command = void (CMainFrame::*)();
    struct Case {
        const char* what;
        int rows, selected, loadedRow, status;
        Command command;
        Calls expected;
        int selectedAfter;
    };
    const Case cases[] = {
        {"play on the playing row pauses", 3, 1, 1, 1, &CMainFrame::OnPlayCommand, {"pause()"}, 1},
        {"play on the paused row resumes", 3, 1, 1, 2, &CMainFrame::OnPlayCommand, {"resume()"}, 1},
        {"double-click on the playing row pauses", 3, 1, 1, 1, &CMainFrame::PlaySelected, {"pause()"}, 1},
        {"stop then play reopens", 3, 1, 1, 4, &CMainFrame::OnPlayCommand, OpenRow(1), 1},
        {"play with no selection opens row 0", 3, -1, -1, 0, &CMainFrame::OnPlayCommand, OpenRow(0), 0},
        {"play on another row stops the playing one", 3, 2, 1, 1, &CMainFrame::OnPlayCommand, kStopClose + OpenRow(2), 2},
        {"next with no selection", 3, -1, -1, 0, &CMainFrame::PlayNext, OpenRow(1), 1},
        {"previous with no selection", 3, -1, -1, 0, &CMainFrame::PlayPrev, OpenRow(2), 2},
        {"next on the last row wraps", 3, 2, 2, 1, &CMainFrame::PlayNext, kStopClose + OpenRow(0), 0},
        {"previous on row 0 wraps", 3, 0, 0, 2, &CMainFrame::PlayPrev, kStopClose + OpenRow(2), 2},
        {"next with one row plays it again", 1, 0, 0, 1, &CMainFrame::PlayNext, kStopClose + OpenRow(0), 0},
        {"previous with one row plays it again", 1, 0, 0, 1, &CMainFrame::PlayPrev, kStopClose + OpenRow(0), 0},
        {"stop while paused", 3, 1, 1, 2, &CMainFrame::StopPlayback, kStopClose, 1},
        {"stop with nothing open", 3, 1, -1, 0, &CMainFrame::StopPlayback, {}, 1},
        {"next after the list was cleared stops only", 0, -1, 0, 1, &CMainFrame::PlayNext, kStopClose, -1},
        {"previous after the list was cleared stops only", 0, -1, 0, 1, &CMainFrame::PlayPrev, kStopClose, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Prepare(c.rows, c.selected, c.loadedRow, c.status);
        (frame->*c.command)();
        EXPECT_EQ(Commands(), c.expected);
        EXPECT_EQ(frame->m_pPlayList->GetCurSel(), c.selectedAfter);
    }
}

TEST_F(PlaybackTest, OpenHandsTheEngineTheAnsiPathAndTheEffect) {
    AddRows(2);
    frame->m_effect = {2, 258};
    frame->m_pPlayList->SelectItem(1);
    frame->OnPlayCommand();
    EXPECT_EQ(Commands(), OpenRow(1, 2, 258));
    EXPECT_EQ(frame->m_strCurPath, RowPath(1).c_str());
    EXPECT_EQ(Text(L"txt_playingpath"), RowPath(1));

    // A failed open says so beside that file, and goes on saying it at the ticks; the
    // loaded path stays the last file that opened.
    engine().script.openResult = 0;
    engine().Clear();
    frame->m_pPlayList->SelectItem(0);
    frame->OnPlayCommand();
    EXPECT_EQ(Commands(), (kStopClose + Calls{"subclasswindow(video,1)", "open(C:\\v\\0.mp4,0,2,2,258)"}));
    frame->UpdateProgress();
    EXPECT_EQ(Text(L"txt_playstatus"), L"无法播放");
    EXPECT_EQ(Text(L"txt_playingpath"), RowPath(0));
    EXPECT_EQ(frame->m_strCurPath, RowPath(1).c_str());

    // The next file that opens takes the title back.
    engine().script.openResult = 1;
    frame->OnPlayCommand();
    frame->UpdateProgress();
    EXPECT_EQ(Text(L"txt_playstatus"), L"正在播放");
    EXPECT_EQ(Text(L"txt_playingpath"), RowPath(0));
}

TEST_F(PlaybackTest, TheEndOfAFilePassesOverRowsThatWillNotOpenOnceRound) {
    struct Case {
        const char* what;
        int rows, ended;
        std::vector<int> bad;
        std::vector<int> tried;   // rows opened, in order, after the end
        int plays;                // the row playing at last, -1 for none
    };
    const Case cases[] = {
        {"a bad row between two good ones", 3, 0, {1}, {1, 2}, 2},
        {"two bad rows, wrapping to the start", 3, 1, {2, 0}, {2, 0, 1}, 1},
        {"every row bad: once round, then rest", 3, 0, {0, 1, 2}, {1, 2, 0}, -1},
        {"the one row went bad", 1, 0, {0}, {0}, -1},
    };
    HWND hwnd = frame->GetHWND();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Prepare(c.rows, c.ended, c.ended, 3);
        engine().script.failingPaths.clear();
        for (int row : c.bad)
            engine().script.failingPaths.push_back("C:\\v\\" + std::to_string(row) + ".mp4");
        frame->UpdateProgress();
        // Each skip waits on timer 4 with the failed row in the title; fired here at once.
        std::vector<int> tried{frame->m_pPlayList->GetCurSel()};
        while (KillTimer(hwnd, kTimerSkipRow)) {
            EXPECT_EQ(Text(L"txt_playstatus"), L"无法播放");
            EXPECT_EQ(Text(L"txt_playingpath"), RowPath(tried.back()));
            SendMessageW(hwnd, WM_TIMER, kTimerSkipRow, 0);
            tried.push_back(frame->m_pPlayList->GetCurSel());
            ASSERT_LE(tried.size(), 10u) << "the walk does not end";
        }
        EXPECT_EQ(tried, c.tried);
        size_t opens = 0;
        for (const std::string& call : Commands())
            opens += call.rfind("open(", 0) == 0;
        EXPECT_EQ(opens, c.tried.size());
        EXPECT_EQ(engine().script.status, c.plays >= 0 ? 1 : 0);
        if (c.plays >= 0)
            EXPECT_EQ(frame->m_strCurPath, RowPath(c.plays).c_str());
        else
            EXPECT_EQ(Text(L"txt_playstatus"), L"无法播放");
    }

    // The timer really fires, after a moment in which the title names the bad file.
    Prepare(3, 0, 0, 3);
    engine().script.failingPaths = {"C:\\v\\1.mp4"};
    frame->UpdateProgress();
    EXPECT_EQ(Text(L"txt_playingpath"), RowPath(1));
    ASSERT_TRUE(testsupport::PumpUntil([&] { return engine().script.status == 1; }, 5000)) << "row 2 never opened";
    EXPECT_EQ(frame->m_strCurPath, RowPath(2).c_str());
}

TEST_F(PlaybackTest, AnyOpenCancelsWhatWasStillDueForTheFileBefore) {
    AddRows(2);
    HWND hwnd = frame->GetHWND();
    for (UINT_PTR timer : {kTimerResumeSeek, kTimerSkipRow}) {
        SCOPED_TRACE(timer);
        SetTimer(hwnd, timer, 10000, nullptr);
        frame->m_pPlayList->SelectItem(1, false);
        engine().script.status = 0;
        frame->PlaySelected();
        EXPECT_FALSE(KillTimer(hwnd, timer)) << "still due after another file opened";
    }
    // Stop ends a walk past bad rows too.
    SetTimer(hwnd, kTimerSkipRow, 10000, nullptr);
    frame->StopPlayback();
    EXPECT_FALSE(KillTimer(hwnd, kTimerSkipRow));
}

TEST_F(PlaybackTest, PlayOnAnEmptyListShowsTheNoticeAndLeavesPlaybackAlone) {
    Prepare(2, -1, 0, 1);
    frame->ClearList();
    {
        apptest::MessageBoxWatch watch;
        frame->OnPlayCommand();
    }
    EXPECT_EQ(apptest::MessageBoxWatch::text, L"请先添加视频文件");
    EXPECT_EQ(apptest::MessageBoxWatch::caption, L"提示");
    EXPECT_EQ(apptest::MessageBoxWatch::owner, frame->GetHWND());
    EXPECT_EQ(Commands(), Calls{});
}

TEST_F(PlaybackTest, TickShowsStatusTimesAndSlider) {
    auto& script = engine().script;
    script.SetProgress(1, 3725.9, 7200);
    frame->UpdateProgress();
    EXPECT_EQ(Text(L"txt_playstatus"), L"正在播放");
    EXPECT_EQ(Text(L"txt_curtime"), L"01:02:05");
    EXPECT_EQ(Text(L"txt_totaltime"), L"02:00:00");
    EXPECT_EQ(frame->m_pPlaySlider->GetValue(), 517);

    // The user holds the seek slider: polling leaves it.
    frame->m_bSeeking = 1;
    script.position = 100;
    frame->UpdateProgress();
    EXPECT_EQ(frame->m_pPlaySlider->GetValue(), 517);
    EXPECT_EQ(Text(L"txt_curtime"), L"00:01:40");

    // Paused: the status says so and nothing else moves.
    frame->m_bSeeking = 0;
    script.SetProgress(2, 200, 7200);
    frame->UpdateProgress();
    EXPECT_EQ(Text(L"txt_playstatus"), L"暂停");
    EXPECT_EQ(Text(L"txt_curtime"), L"00:01:40");
    EXPECT_EQ(frame->m_pPlaySlider->GetValue(), 517);

    script.status = 4;
    frame->UpdateProgress();
    EXPECT_EQ(Text(L"txt_playstatus"), L"停止");

    // A duration of 0 while playing puts the slider at its start.
    script.SetProgress(1, 200, 0);
    frame->UpdateProgress();
    EXPECT_EQ(frame->m_pPlaySlider->GetValue(), 0);
    EXPECT_EQ(Commands(), Calls{});
}

TEST_F(PlaybackTest, SeekSliderStaysUnderTheHandThenFollowsPlaybackAgain) {
    engine().script.SetProgress(1, 0, 100);
    CSliderUI* seek = frame->m_pPlaySlider;
    const HWND hwnd = frame->GetHWND();
    const RECT& rc = seek->GetPos();
    const int y = (rc.top + rc.bottom) / 2;
    const int x = rc.left + (rc.right - rc.left) * 3 / 4;
    auto post = [&](UINT msg, WPARAM keys, int px) {
        PostMessageW(hwnd, msg, keys, MAKELPARAM(px, y));
        testsupport::PumpIdle();
    };
    post(WM_MOUSEMOVE, 0, rc.left + 2);
    post(WM_LBUTTONDOWN, MK_LBUTTON, rc.left + 2);
    post(WM_MOUSEMOVE, MK_LBUTTON, x);
    const int held = seek->GetValue();
    ASSERT_GT(held, 600);
    engine().script.position = 10;
    frame->UpdateProgress();
    EXPECT_EQ(seek->GetValue(), held) << "the tick moved the thumb from under the pointer";

    post(WM_LBUTTONUP, 0, x);
    ASSERT_EQ(engine().Commands().size(), 1u);
    EXPECT_EQ(engine().Commands()[0].name, "seek_to");
    EXPECT_EQ(engine().Commands()[0].numbers[0], static_cast<double>(seek->GetValue() / 1000.0f));
    // After the release the slider follows playback at the next tick, not the next click.
    engine().script.position = 20;
    frame->UpdateProgress();
    EXPECT_EQ(seek->GetValue(), 200);
}

TEST_F(PlaybackTest, TickSaysStoppedOnceThePlayingFileIsClosed) {
    engine().script.status = 0;
    frame->UpdateProgress();
    EXPECT_NE(Text(L"txt_playstatus"), L"停止") << "nothing has played yet";

    AddRows(2);
    engine().script.status = 1;
    frame->OnPlayCommand();
    frame->UpdateProgress();
    EXPECT_EQ(Text(L"txt_playstatus"), L"正在播放");
    // The stop button stops and closes: the engine then has nothing open.
    frame->StopPlayback();
    engine().script.status = 0;
    frame->UpdateProgress();
    EXPECT_EQ(Text(L"txt_playstatus"), L"停止");
}

TEST_F(PlaybackTest, EndOfFileMovesOnWrappingAndStopsWhenTheListIsGone) {
    Prepare(3, 2, 2, 3);
    frame->UpdateProgress();
    EXPECT_EQ(Commands(), kStopClose + OpenRow(0));
    EXPECT_EQ(frame->m_pPlayList->GetCurSel(), 0);

    frame->ClearList();
    engine().script.status = 3;
    engine().Clear();
    frame->UpdateProgress();
    EXPECT_EQ(Commands(), kStopClose);
}

TEST(ProgressMath, ClockTextsAndSliderPositions) {
    const std::pair<double, const wchar_t*> clocks[] = {
        {0.0, L"00:00:00"}, {59.999, L"00:00:59"}, {3725.9, L"01:02:05"}, {7200, L"02:00:00"},
        {360000, L"100:00:00"}, {std::numeric_limits<double>::quiet_NaN(), L"00:00:00"},
    };
    for (const auto& [seconds, text] : clocks)
        EXPECT_STREQ(FormatTime(seconds).GetData(), text) << seconds;

    struct Slider { double t, d; int value; };
    const Slider sliders[] = {
        {3725.9, 7200, 517}, {0, 7200, 0}, {7200, 7200, 1000}, {5, 0, 0}, {0, 0, 0}, {7300, 7200, 1000}, {-1, 10, 0},
    };
    for (const Slider& s : sliders)
        EXPECT_EQ(SeekSliderPosition(s.t, s.d), s.value) << s.t << "/" << s.d;
}

TEST_F(PlaybackTest, MuteButtonsFollowTheEngineAnswer) {
    auto visiblePair = [&] {
        return std::make_pair(apptest::IsShown(frame, L"btn_mute"), apptest::IsShown(frame, L"btn_muteoff"));
    };
    // Nothing open: no engine call, nothing changes on screen.
    frame->MuteOn();
    EXPECT_EQ(Commands(), Calls{});
    EXPECT_EQ(visiblePair(), std::make_pair(true, false));

    engine().script.status = 2;
    frame->MuteOn();
    EXPECT_EQ(visiblePair(), std::make_pair(false, true));
    frame->MuteOff();
    EXPECT_EQ(visiblePair(), std::make_pair(true, false));
    EXPECT_EQ(Commands(), (Calls{"mute_set(1)", "mute_set(0)"}));

    // An engine that keeps its sound on: the buttons say so.
    engine().script.muteSticks = false;
    frame->MuteOn();
    EXPECT_EQ(visiblePair(), std::make_pair(true, false));
}

TEST_F(PlaybackTest, ListPanelCollapsesAndTheVideoFollows) {
    CControlUI* region = apptest::Find(frame, L"listregion");
    auto* toggle = static_cast<CButtonUI*>(apptest::Find(frame, L"btn_map_shrink"));
    const int playWidth = apptest::Find(frame, L"playregion")->GetWidth();

    frame->ToggleListPanel();
    EXPECT_FALSE(region->IsVisible());
    EXPECT_STREQ(toggle->GetNormalImage(), L"split_screen_left.png");
    // Once laid out, the play region has the list's width too, and the video covers it.
    const int widerBy = region->GetFixedWidth();
    CControlUI* play = apptest::Find(frame, L"playregion");
    auto videoWidth = [&] {
        RECT rc;
        GetWindowRect(frame->m_pVideoWnd->GetHWND(), &rc);
        return rc.right - rc.left;
    };
    testsupport::PumpUntil([&] { return play->GetWidth() != playWidth && videoWidth() == play->GetWidth(); }, 2000);
    EXPECT_EQ(play->GetWidth(), playWidth + widerBy);
    EXPECT_EQ(videoWidth(), play->GetWidth());

    frame->ToggleListPanel();
    EXPECT_TRUE(region->IsVisible());
    EXPECT_STREQ(toggle->GetNormalImage(), L"split_screen_right.png");
    EXPECT_EQ(frame->m_bListShown, 1);
}

} // namespace
