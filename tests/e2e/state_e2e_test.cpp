// The real Morvane.exe started twice on one user's folder: what the first run left
// (the list, the selection, the volume, the collapsed panel, the window's place and
// the second file's time) is what the second run shows, and opening that file goes
// on from where it was left.
#include "app/frame_harness.h"
#include "e2e/e2e_start.h"
#include "playback/ProgressMath.h"
#include "state/UserState.h"

namespace {

using namespace e2e;

// Where the controls this test uses lie, and how the restored window paints them.
struct StateLayout {
    RECT seek{}, volume{}, listToggle{}, secondRow{};
    RECT collapsedToggle{};   // the toggle moves to the window's edge with the panel gone
    Patch volumeAt80, listCollapsed, secondSelected;
};

// The in-process window as the second run should show it, and the resume text, when
// one is given, learnt by the status reader.
std::wstring RenderRestored(const ListedFile& first, const ListedFile& second, const std::wstring& resumeText,
                            References& refs, StateLayout& out) {
    return WithMainFrame([&](DuiLib::CMainFrame* frame) {
        frame->AddListItem(first.fullPath.c_str(), first.name.c_str());
        frame->AddListItem(second.fullPath.c_str(), second.name.c_str());
        frame->m_pPlayList->SelectItem(1, false);
        frame->m_pVolumeSlider->SetValue(80);
        if (!resumeText.empty()) frame->ShowStatusNotice(resumeText.c_str(), 60000);
        testsupport::Shot shot;
        std::wstring error;
        if (!CaptureSettled(frame->GetHWND(), shot)) error = L"the in-process window never settled";
        // Laid out by now, the new rows too.
        out.seek = PosOf(frame, L"slider_play");
        out.volume = PosOf(frame, L"slider_volumn");
        out.listToggle = PosOf(frame, L"btn_map_shrink");
        out.secondRow = frame->m_pPlayList->GetItemAt(1)->GetPos();
        if (IsRectEmpty(&out.secondRow)) error = L"the second row has no place";
        out.secondSelected = Cut(shot, refs.layout.list);
        out.volumeAt80 = Cut(shot, out.volume);
        if (!resumeText.empty()) refs.status.Learn(resumeText, Cut(shot, refs.layout.status));
        const RECT expanded = out.listToggle;
        frame->ToggleListPanel();
        // The panel's refit runs on a timer.
        testsupport::PumpUntil([&] {
            const RECT now = PosOf(frame, L"btn_map_shrink");
            return !EqualRect(&now, &expanded);
        }, 3000);
        if (error.empty() && !CaptureSettled(frame->GetHWND(), shot)) error = L"the in-process window never settled";
        out.collapsedToggle = PosOf(frame, L"btn_map_shrink");
        out.listCollapsed = Cut(shot, out.collapsedToggle);
        return error;
    });
}

POINT OnSlider(const PlayerScreen& screen, const RECT& slider, int x) {
    return screen.OnScreen({slider.left + x, (slider.top + slider.bottom) / 2});
}

using StateEndToEnd = PlayerTest;

TEST_F(StateEndToEnd, ASecondStartShowsWhatTheFirstLeftAndResumesTheFile) {
    ASSERT_FALSE(run.work.empty()) << "run through run_e2e.sh, which sets MORVANE_E2E_DIR";
    const ListedFile first{run.media + L"\\first.mp4", L"first.mp4"};
    const ListedFile second{run.media + L"\\long.mkv", L"long.mkv"};   // 60 s: its middle is worth resuming
    // Both runs share the run's user folder, which starts empty.
    const std::wstring stateFile = PlayerUserFolder() + L"\\Morvane\\state.json";
    DeleteFileW(stateFile.c_str());

    ASSERT_TRUE(Render(first, second, kStatuses, ClockTexts(60)));
    StateLayout layout;
    std::wstring error = RenderRestored(first, second, L"", refs, layout);
    ASSERT_TRUE(error.empty()) << Utf8(error);

    ASSERT_TRUE(Start());
    ASSERT_TRUE(screen.Await("started", [&] { return screen.ListIs(refs.listEmpty); }, 15000));
    // The folder named: the dialog may start where another test's player left it.
    ASSERT_TRUE(Add(L"\"first.mp4\" \"long.mkv\""));
    ASSERT_TRUE(screen.Await("two rows", [&] { return screen.ListIs(refs.listTwoRows); }, 5000));

    DoubleClickAt(screen.CenterOf(layout.secondRow));
    MoveMouseTo({0, 0});
    ASSERT_TRUE(screen.Await("second-plays", [&] {
        return screen.Status() == kPlaying && screen.ShowsSecondClip() && screen.Total() == L"00:01:00";
    }, 20000));
    // The seek slider's middle is the file's middle.
    Press(OnSlider(screen, layout.seek, (layout.seek.right - layout.seek.left) / 2));
    ASSERT_TRUE(screen.Await("seeked", [&] { return screen.Clock() >= L"00:00:29" && screen.Clock() <= L"00:00:45"; }, 10000));
    // 64 of the volume slider's 80 pixels of travel, past half its 20-pixel thumb: 80.
    Press(OnSlider(screen, layout.volume, 10 + 64));
    ASSERT_TRUE(screen.Await("volume-80", [&] { return Cut(screen.Shot(), layout.volume) == layout.volumeAt80; }, 5000));
    Press(screen.CenterOf(layout.listToggle));
    ASSERT_TRUE(screen.Await("collapsed", [&] { return Cut(screen.Shot(), layout.collapsedToggle) == layout.listCollapsed; }, 5000));
    screen.Save(L"state-first-run.png");
    const RECT leftAt = WindowRect(main);
    Press(screen.CenterOf(refs.layout.close));
    ASSERT_EQ(player->ExitCode(15000), 0);

    const userstate::UserState written = userstate::ParseUserState(ReadFileBytes(stateFile));
    ASSERT_EQ(written.rows, (std::vector<std::wstring>{first.fullPath, second.fullPath})) << "state file: " << Utf8(stateFile);
    ASSERT_EQ(written.positions.size(), 1u);
    const double leftSeconds = written.positions[0].seconds;
    const std::wstring resumeText = L"从 " + std::wstring(DuiLib::FormatTime(leftSeconds).GetData()) + L" 继续播放";
    error = RenderRestored(first, second, resumeText, refs, layout);
    ASSERT_TRUE(error.empty()) << Utf8(error);

    ASSERT_TRUE(Start(L"", PlayerProcess::UserState::Kept));
    // Made visible before it is placed, as any window of the layout is.
    RECT placed{};
    EXPECT_TRUE(testsupport::PumpUntil([&] { return GetWindowRect(main, &placed) && EqualRect(&placed, &leftAt); }, 5000))
        << "placed at " << placed.left << "," << placed.top << ", left at " << leftAt.left << "," << leftAt.top;
    ASSERT_TRUE(screen.Await("restored", [&] {
        return screen.Status() == L"(blank)" && Cut(screen.Shot(), layout.volume) == layout.volumeAt80 &&
               Cut(screen.Shot(), layout.collapsedToggle) == layout.listCollapsed;
    }, 15000));
    screen.Save(L"state-restored.png");
    Press(screen.CenterOf(layout.collapsedToggle));
    ASSERT_TRUE(screen.Await("two-rows-second-selected", [&] { return screen.ListIs(layout.secondSelected); }, 5000));

    // Play opens the selected row where it was left, and says so.
    Press(screen.CenterOf(refs.layout.play));
    ASSERT_TRUE(screen.Await("resumed", [&] { return screen.Status() == resumeText && screen.ShowsSecondClip(); }, 15000));
    const std::wstring from = DuiLib::FormatTime(leftSeconds - 1).GetData();
    const std::wstring to = DuiLib::FormatTime(leftSeconds + 4).GetData();
    ASSERT_TRUE(screen.Await("resumed-time", [&] { return screen.Clock() >= from && screen.Clock() <= to; }, 5000))
        << "expected between " << Utf8(from) << " and " << Utf8(to);
    screen.Save(L"state-resumed.png");
}

} // namespace
