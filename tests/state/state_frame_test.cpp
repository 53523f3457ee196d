// The user's state in a real main window with the recording engine: what a start
// restores, what a save writes, and where an opened file starts.
#include <algorithm>
#include "app/frame_harness.h"
#include "duilib/UIPath.h"
#include "app/PlayerTexts.h"
#include "video/PictureMenuModel.h"
#include "state/StateFiles.h"

using namespace DuiLib;

namespace {

// A folder of this test's own beside its exe, emptied of what a previous run left.
std::wstring Folder() {
    const std::wstring folder = GetModuleFolder() + L"\\state-frame";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

// A file with bytes, so it has a size and a write time to be known by.
std::wstring MakeClip(const std::wstring& name) {
    const std::wstring path = Folder() + L"\\" + name;
    userstate::ReplaceStateFile(path, "not really a video");
    return path;
}

// The tests tick themselves.
class StateFrameTest : public apptest::MainWindowFixture {
protected:
    StateFrameTest() : MainWindowFixture({.polling = false, .clearEngine = false}) {
        file = Folder() + L"\\state.json";
        DeleteFileW(file.c_str());
    }

    void Restore(const userstate::UserState& state) {
        ASSERT_TRUE(userstate::ReplaceStateFile(file, userstate::SerializeUserState(state)));
        frame->RestoreUserState(file);
    }
    // Rows "first" and "second", first remembered at 42 s (with its sound track when one
    // is given); the engine reports files of 100 s.
    void ListFirstRemembered(int audioTrack = 0) {
        first = MakeClip(L"first.mp4");
        second = MakeClip(L"second.mp4");
        userstate::UserState state;
        state.positions = {{*userstate::KeyOfFile(first), 42, audioTrack}};
        ASSERT_NO_FATAL_FAILURE(Restore(state));
        frame->AddListItem(first.c_str(), L"first.mp4");
        frame->AddListItem(second.c_str(), L"second.mp4");
        engine().script.duration = 100;
    }
    void Open(int row) {
        frame->m_pPlayList->SelectItem(row);
        frame->PlaySelected();
    }
    userstate::UserState Written() { return userstate::ParseUserState(userstate::ReadStateFile(file)); }
    void Tick() { SendMessageW(frame->GetHWND(), WM_TIMER, kTimerPoll, 0); }

    std::wstring file, first, second;
};

TEST_F(StateFrameTest, AStartRestoresWhatWasLeftAndASaveWritesItBack) {
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    userstate::UserState left;
    left.rows = {L"C:\\gone\\a.mp4", L"C:\\gone\\b.mkv"};
    left.selected = 1;
    left.volume = 80;
    left.muted = true;
    left.speed = 1.5;
    left.listShown = false;
    left.window = userstate::WindowPlace{work.left + 30, work.top + 40, work.left + 30 + 900, work.top + 40 + 640, false};
    left.unknownFields = R"({"theme":"dark"})";
    engine().Clear();
    ASSERT_NO_FATAL_FAILURE(Restore(left));

    EXPECT_EQ(frame->m_pPlayList->GetCount(), 2) << "a row whose file is gone stays";
    EXPECT_EQ(frame->m_pPlayList->GetCurSel(), 1);
    EXPECT_EQ(frame->m_pVolumeSlider->GetValue(), 80);
    EXPECT_EQ(engine().CommandTexts(), (std::vector<std::string>{"volume(80,80)", "mute_set(1)", "set_speed(1.5)"}));
    EXPECT_TRUE(apptest::IsShown(frame, kCtlMuteOff));
    EXPECT_EQ(frame->m_bListShown, 0);
    EXPECT_FALSE(apptest::IsShown(frame, kCtlListRegion));
    WINDOWPLACEMENT placement{sizeof(placement)};
    GetWindowPlacement(frame->GetHWND(), &placement);
    EXPECT_EQ(placement.rcNormalPosition.left, left.window->left);
    EXPECT_EQ(placement.rcNormalPosition.bottom, left.window->bottom);

    SendMessageW(frame->GetHWND(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(Written(), left) << "closing writes the same state back, unknown fields included";
    EXPECT_EQ(GetFileAttributesW((file + L".tmp").c_str()), INVALID_FILE_ATTRIBUTES) << "no temporary file is left";
}

TEST_F(StateFrameTest, TheWindowTakesItsPlaceOnlyWhereAMonitorShowsIt) {
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const struct {
        const char* what;
        userstate::WindowPlace place;
        bool taken, zoomed;
    } cases[] = {
        {"inside the work area", {work.left + 20, work.top + 10, work.left + 880, work.top + 620, false}, true, false},
        {"maximised", {work.left + 20, work.top + 10, work.left + 880, work.top + 620, true}, true, true},
        {"partly off the right edge", {work.right - 300, work.top + 10, work.right + 560, work.top + 620, false}, true, false},
        {"only a sliver on screen", {work.right - 40, work.top + 10, work.right + 820, work.top + 620, false}, false, false},
        {"title above the screen", {work.left + 20, work.top - 200, work.left + 880, work.top + 410, false}, false, false},
        {"on a monitor no longer there", {-20000, -20000, -19140, -19400, false}, false, false},
    };
    for (const auto& c : cases) {
        apptest::DestroyMainFrame(frame);
        frame = apptest::OpenMainFrame();
        ASSERT_NE(frame, nullptr);
        userstate::UserState state;
        state.window = c.place;
        ASSERT_TRUE(userstate::ReplaceStateFile(file, userstate::SerializeUserState(state)));
        RECT before;
        GetWindowRect(frame->GetHWND(), &before);
        EXPECT_EQ(frame->RestoreUserState(file), c.taken) << c.what;
        WINDOWPLACEMENT placement{sizeof(placement)};
        GetWindowPlacement(frame->GetHWND(), &placement);
        const RECT expected = c.taken ? RECT{c.place.left, c.place.top, c.place.right, c.place.bottom} : before;
        EXPECT_TRUE(EqualRect(&placement.rcNormalPosition, &expected)) << c.what;
        EXPECT_EQ(IsZoomed(frame->GetHWND()) != FALSE, c.zoomed) << c.what;
        EXPECT_EQ(apptest::IsShown(frame, L"btn_restore"), c.zoomed) << c.what;
    }
}

TEST_F(StateFrameTest, FilesOfAStartComeAfterTheRestoredRowsAndPlay) {
    const std::wstring added = MakeClip(L"added.mp4");
    userstate::UserState state;
    state.rows = {L"C:\\gone\\a.mp4", L"C:\\gone\\b.mkv"};
    state.selected = 0;
    ASSERT_NO_FATAL_FAILURE(Restore(state));
    frame->OpenPaths({added});
    // The paths are listed off the UI thread and added when the listing comes back.
    ASSERT_TRUE(testsupport::PumpUntil([&] { return frame->m_pPlayList->GetCount() == 3; }, 5000));
    EXPECT_EQ(frame->m_pPlayList->GetItemAt(0)->GetName(), L"C:\\gone\\a.mp4");
    EXPECT_EQ(frame->m_pPlayList->GetItemAt(2)->GetName(), added.c_str());
    EXPECT_EQ(frame->m_pPlayList->GetCurSel(), 2);
    EXPECT_EQ(frame->m_strCurPath, added.c_str());
}

TEST_F(StateFrameTest, ABrokenFileStartsFromTheDefaultsAndIsRewrittenWhole) {
    ASSERT_TRUE(userstate::ReplaceStateFile(file, "{\"rows\":[\"C:\\\\a.mp4\"],\"volume\":"));
    EXPECT_FALSE(frame->RestoreUserState(file));
    EXPECT_EQ(frame->m_pPlayList->GetCount(), 0);
    EXPECT_EQ(frame->m_pVolumeSlider->GetValue(), userstate::kDefaultVolume);
    frame->SaveUserState();
    const userstate::UserState written = Written();
    EXPECT_EQ(written.volume, userstate::kDefaultVolume);
    EXPECT_TRUE(written.window.has_value()) << "the whole state is written, the window's place too";
}

// Where a file starts and what is remembered when it is left, tick by tick.
TEST_F(StateFrameTest, OpenedFilesResumeAndLeftFilesAreRemembered) {
    ASSERT_NO_FATAL_FAILURE(ListFirstRemembered());

    struct Step {
        const char* what;
        std::function<void()> act;
        std::string lastPlay;              // the engine's last play command
        std::wstring status;               // the status text after the act
        int statusWidth;                   // widened for a notice to be read whole
        std::vector<double> remembered;    // first's, then second's remembered place; -1: none
    };
    auto open = [&](int row) { return [this, row] { Open(row); }; };
    auto at = [&](double seconds) { return [this, seconds] { engine().script.position = seconds; Tick(); }; };
    auto remembered = [&] {
        std::vector<double> out;
        for (const std::wstring& path : {first, second})
            out.push_back(userstate::ResumeAt(frame->m_userState.state.positions, *userstate::KeyOfFile(path)).value_or(-1));
        return out;
    };
    const Step steps[] = {
        {"a remembered file starts at its place", open(0), "play(42,0)", L"从 00:00:42 继续播放", 200, {42, -1}},
        {"the notice outlasts the polled status", at(43), "play(42,0)", L"从 00:00:42 继续播放", 200, {42, -1}},
        {"the notice ends on time", [&] { frame->m_noticeUntilTick = 0; at(44)(); }, "play(42,0)", L"正在播放", 100, {42, -1}},
        {"another file opens from its start", [&] { at(70)(); open(1)(); }, "play(0,0)", L"加载中请等待...", 100, {70, -1}},
        {"left 5 s in: not remembered", [&] { at(5)(); open(0)(); }, "play(70,0)", L"从 00:01:10 继续播放", 200, {70, -1}},
        {"played to its end: forgotten", [&] { at(99.9)(); engine().script.status = kStatusEnded; Tick(); }, "play(0,0)", L"加载中请等待...", 100, {-1, -1}},
    };
    for (const Step& step : steps) {
        step.act();
        const auto commands = engine().CommandTexts();
        std::string lastPlay;
        for (const std::string& c : commands)
            if (c.rfind("play(", 0) == 0)
                lastPlay = c;
        EXPECT_EQ(lastPlay, step.lastPlay) << step.what;
        EXPECT_EQ(apptest::TextOf(frame, kCtlPlayStatus), step.status) << step.what;
        EXPECT_EQ(apptest::Find(frame, kCtlPlayStatus)->GetFixedWidth(), step.statusWidth) << step.what;
        EXPECT_EQ(remembered(), step.remembered) << step.what;
    }
}

// The sound track chosen for a file comes back with its place, set before it plays.
TEST_F(StateFrameTest, AChosenSoundTrackIsKeptWithTheFilesPlace) {
    ASSERT_NO_FATAL_FAILURE(ListFirstRemembered(2));
    engine().script.audioTracks = {{1, L"zh", 2}, {2, L"en", 1}};
    Open(0);
    const auto commands = engine().CommandTexts();
    const auto chosen = std::find(commands.begin(), commands.end(), "set_audio_track(2)");
    ASSERT_NE(chosen, commands.end());
    EXPECT_NE(std::find(chosen, commands.end(), "play(42,0)"), commands.end()) << "the track is set before play";

    frame->RunPictureCommand(picturemenu::kAudioTrackFirst);   // track 1
    engine().script.position = 60;
    Tick();
    Open(1);
    const userstate::FileKey key = *userstate::KeyOfFile(first);
    EXPECT_EQ(userstate::ResumeAt(frame->m_userState.state.positions, key).value_or(-1), 60);
    EXPECT_EQ(userstate::AudioTrackAt(frame->m_userState.state.positions, key), 1);
}

TEST_F(StateFrameTest, PlayingSavesEveryTenSeconds) {
    frame->RestoreUserState(file);
    engine().script.duration = 100;
    engine().script.position = 30;
    struct Case {
        int status;
        ULONGLONG sinceSave;
        bool written;
    };
    for (const Case& c : {Case{kStatusPlaying, 9000, false}, Case{kStatusPaused, 11000, false}, Case{kStatusPlaying, 11000, true}}) {
        DeleteFileW(file.c_str());
        engine().script.status = c.status;
        frame->m_userState.lastSaveTick = GetTickCount64() - c.sinceSave;
        Tick();
        EXPECT_EQ(GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES, c.written)
            << "status " << c.status << ", " << c.sinceSave << " ms since the last save";
    }
}

} // namespace
