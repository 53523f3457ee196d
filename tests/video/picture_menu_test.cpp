// The picture's context menu: its items (enabled by the player's state, with their keys),
// the native menu made from them, and each item routed as its button or key runs.
#include <set>
#include "app/PlayerTexts.h"
#include "playback/ScreenshotFile.h"
#include "video/PictureMenu.h"
#include "video/video_fixture.h"

using namespace DuiLib;
using namespace picturemenu;

namespace {

std::set<Command> EnabledIn(const std::vector<MenuEntry>& menu) {
    std::set<Command> enabled;
    for (const MenuEntry& entry : menu)
        if (!entry.IsSeparator() && entry.children.empty() && entry.enabled)
            enabled.insert(entry.command);
    return enabled;
}

TEST(PictureMenuModel, ItemsAreEnabledByTheState) {
    const std::set<Command> always{kFullScreen, kSettings};
    const std::set<Command> listed{kPlayPause, kPrevious, kNext, kFullScreen, kSettings};
    const std::set<Command> stopped{kPlayPause, kPrevious, kNext, kFullScreen, kFromStart, kOpenFolder, kSettings};
    const std::set<Command> all{kPlayPause, kStop, kPrevious, kNext, kFullScreen, kFromStart, kScreenshot, kOpenFolder,
                                kSettings};
    struct Case {
        const char* what;
        PlayerView view;
        std::set<Command> enabled;
    } cases[] = {
        {"empty list, nothing opened", {kStatusClosed, 0, false, false}, always},
        {"rows, nothing opened", {kStatusClosed, 3, false, false}, listed},
        {"playing", {kStatusPlaying, 3, true, false}, all},
        {"paused, full screen", {kStatusPaused, 3, true, true}, all},
        {"stopped after playing", {kStatusClosed, 3, true, false}, stopped},
        {"ended", {kStatusEnded, 3, true, false}, stopped},
        {"opened file's row removed, list empty",
         {kStatusPlaying, 0, true, false},
         {kPlayPause, kStop, kFullScreen, kFromStart, kScreenshot, kOpenFolder, kSettings}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(EnabledIn(BuildPictureMenu(c.view)), c.enabled);
    }
}

TEST(PictureMenuModel, EachItemShowsItsKey) {
    std::vector<std::wstring> texts;
    for (const MenuEntry& entry : BuildPictureMenu({kStatusPlaying, 1, true, false}))
        texts.push_back(entry.text);
    const std::vector<std::wstring> expected{
        L"播放/暂停\tSpace", L"停止", L"上一个", L"下一个", L"", L"全屏\tEsc", L"", L"音轨", L"倍速", L"字幕", L"",
        L"从头播放", std::wstring(L"截图\t") + screenshot::kKeyText, L"打开文件所在位置", L"", L"设置…"};
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(FindEntry(BuildPictureMenu({kStatusPlaying, 1, true, true}), kFullScreen)->text, L"退出全屏\tEsc");
}

// Each submenu's lines as "text", "text*" when checked, "(text)" when greyed; the
// submenu's own line first.
std::vector<std::wstring> Lines(const PlayerView& view, const wchar_t* submenu) {
    std::vector<std::wstring> lines;
    for (const MenuEntry& entry : BuildPictureMenu(view)) {
        if (entry.text != submenu)
            continue;
        lines.push_back(entry.enabled ? entry.text : L"(" + entry.text + L")");
        for (const MenuEntry& c : entry.children)
            lines.push_back(c.IsSeparator() ? L"-" : (c.enabled ? c.text : L"(" + c.text + L")") + (c.checked ? L"*" : L""));
    }
    return lines;
}

TEST(PictureMenuModel, SubmenusOfferTracksSpeedsAndSubtitles) {
    PlayerView view{kStatusPlaying, 1, true, false};
    view.audioTracks = {{1, L"zh-CN", 2}, {2, L"eng", 1}, {3, L"", 6}, {4, L"tlh", 3}, {5, L"und", 0}};
    view.audioTrack = 2;
    view.speed = 1.5;
    view.subtitles = {L"C:\\v\\a.srt", L"C:\\v\\a.chs.ass"};
    view.subtitle = L"c:\\V\\A.CHS.ass";
    PlayerView hidden = view, single = view, closed{kStatusClosed, 1, true, false};
    hidden.subtitlesShown = false;
    single.audioTracks.resize(1);
    single.audioTrack = 1;
    struct Case {
        const char* what;
        const PlayerView& view;
        const wchar_t* submenu;
        std::vector<std::wstring> lines;
    } cases[] = {
        {"tracks", view, L"音轨", {L"音轨", L"1 中文 立体声", L"2 英语 单声道*", L"3 5.1", L"4 tlh 3 声道", L"5"}},
        {"one track", single, L"音轨", {L"(音轨)", L"1 中文 立体声*"}},
        {"no sound", closed, L"音轨", {L"(音轨)", L"(无)"}},
        {"speeds", view, L"倍速", {L"倍速", L"0.5x", L"0.75x", L"1.0x", L"1.25x", L"1.5x*", L"1.75x", L"2.0x"}},
        {"subtitles, the loaded one", view, L"字幕", {L"字幕", L"a.srt", L"a.chs.ass*", L"-", L"关闭字幕", L"加载字幕…"}},
        {"subtitles hidden", hidden, L"字幕", {L"字幕", L"a.srt", L"a.chs.ass", L"-", L"关闭字幕*", L"加载字幕…"}},
        {"nothing open", closed, L"字幕", {L"(字幕)", L"关闭字幕*", L"加载字幕…"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Lines(c.view, c.submenu), c.lines) << c.what;
    EXPECT_EQ(SpeedOf(Command(kSpeedFirst + 4)), 1.5);
    EXPECT_EQ(SpeedOf(Command(kSpeedFirst + 7)), 0.0);
}

TEST(PictureMenuModel, TheNativeMenuHasTheItemsAndSubmenus) {
    std::vector<MenuEntry> menu = BuildPictureMenu({kStatusClosed, 2, false, false});
    // A submenu, as the speed and sound track choices will be.
    menu.push_back(MenuEntry{kNone, L"倍速", true, {MenuEntry{Command(900), L"1.0x", true, {}},
                                                    MenuEntry{Command(901), L"2.0x", false, {}}}});
    HMENU native = CreateNativeMenu(menu);
    ASSERT_NE(native, nullptr);
    ASSERT_EQ(GetMenuItemCount(native), static_cast<int>(menu.size()));
    for (size_t i = 0; i < menu.size(); ++i) {
        SCOPED_TRACE(i);
        const UINT state = GetMenuState(native, static_cast<UINT>(i), MF_BYPOSITION);
        wchar_t text[64] = {};
        GetMenuStringW(native, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        EXPECT_EQ(text, menu[i].text);
        EXPECT_EQ((state & MF_SEPARATOR) != 0, menu[i].IsSeparator());
        if (!menu[i].IsSeparator()) EXPECT_EQ((state & MF_GRAYED) == 0, menu[i].enabled);
    }
    HMENU speed = GetSubMenu(native, static_cast<int>(menu.size()) - 1);
    ASSERT_NE(speed, nullptr);
    EXPECT_EQ(GetMenuItemCount(speed), 2);
    EXPECT_EQ(GetMenuItemID(speed, 1), 901u);
    EXPECT_TRUE(GetMenuState(speed, 1, MF_BYPOSITION) & MF_GRAYED);
    DestroyMenu(native);
}

class PictureMenuTest : public videotest::VideoFixture {
protected:
    PictureMenuTest() : VideoFixture(/*polling=*/false) {}
    // Two rows, the second playing (or in the status given) at 30 s of 100.
    void Prepare(int status) {
        frame->ClearList();
        frame->AddListItem(L"C:\\v\\a.mp4", L"a.mp4");
        frame->AddListItem(L"C:\\v\\b.mp4", L"b.mp4");
        frame->m_pPlayList->SelectItem(1, false);
        frame->m_strCurPath = L"C:\\v\\b.mp4";
        engine().script.SetProgress(status, 30.0, 100.0);
        engine().Clear();
    }
    // What one way of asking does: the engine's commands and the full-screen state.
    std::vector<std::string> Outcome(int status, const std::function<void()>& ask) {
        Prepare(status);
        ask();
        std::vector<std::string> out = engine().CommandTexts();
        out.push_back(video->m_bFullScreen ? "full screen" : "windowed");
        if (video->m_bFullScreen) video->ToggleFullScreen();
        return out;
    }
};

TEST_F(PictureMenuTest, EachItemTakesTheRoadOfItsButtonOrKey) {
    const auto key = [&](WPARAM k) { return [this, k] { SendMessageW(hVideo, WM_KEYDOWN, k, 0); }; };
    const auto button = [&](const wchar_t* name) { return [this, name] { apptest::ClickControl(frame, name); }; };
    struct Case {
        const char* what;
        Command command;
        int status;
        std::function<void()> same;
    } cases[] = {
        {"play/pause while playing: Space", kPlayPause, kStatusPlaying, key(VK_SPACE)},
        {"play/pause while paused: Space", kPlayPause, kStatusPaused, key(VK_SPACE)},
        {"play/pause with nothing open: the play button", kPlayPause, kStatusClosed, button(L"btn_play")},
        {"stop", kStop, kStatusPlaying, button(L"btn_stop")},
        {"previous", kPrevious, kStatusPlaying, button(L"btn_prev")},
        {"next", kNext, kStatusPaused, button(L"btn_next")},
        {"full screen: Escape", kFullScreen, kStatusPlaying, key(VK_ESCAPE)},
        {"full screen: the button", kFullScreen, kStatusPaused, button(L"btn_fullscreen")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<std::string> byMenu = Outcome(c.status, [&] { frame->RunPictureCommand(c.command); });
        const std::vector<std::string> byOwnWay = Outcome(c.status, c.same);
        EXPECT_EQ(byMenu, byOwnWay);
        EXPECT_NE(byMenu, Outcome(c.status, [] {})) << "the item did nothing";
    }
}

TEST_F(PictureMenuTest, SubmenuChoicesReachTheEngine) {
    Prepare(kStatusPlaying);
    engine().script.audioTracks = {{1, L"zh", 2}, {2, L"en", 1}};
    for (unsigned command : {kAudioTrackFirst + 1u, kAudioTrackFirst + 5u, kSpeedFirst + 6u, kSubtitlesOff + 0u})
        frame->RunPictureCommand(command);
    const std::vector<std::string> expected{"set_audio_track(2)", "set_audio_track(6)", "set_speed(2)",
                                            "subtitles_show(0)"};
    EXPECT_EQ(engine().CommandTexts(), expected);
    EXPECT_EQ(engine().script.audioTrack, 2) << "a track the file lacks changes nothing";
}

TEST_F(PictureMenuTest, FromTheStartSeeksToZeroOrReopensWithoutTheRememberedPlace) {
    for (int status : {kStatusPlaying, kStatusPaused}) {
        SCOPED_TRACE(status);
        Prepare(status);
        frame->RunPictureCommand(kFromStart);
        std::vector<std::string> expected{"seek_to(0)"};
        if (status == kStatusPaused) expected.push_back("resume()");
        EXPECT_EQ(engine().CommandTexts(), expected);
        EXPECT_EQ(engine().script.status, kStatusPlaying);
    }
    // Stopped: opened again from 0, though the file was remembered at 42 s.
    Prepare(kStatusClosed);
    frame->m_userState.state.positions.push_back({{L"c:\\V\\B.mp4", 1, 2}, 42.0});
    frame->RunPictureCommand(kFromStart);
    const std::vector<std::string> commands = engine().CommandTexts();
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.back(), "play(0,0)");
    EXPECT_TRUE(frame->m_userState.state.positions.empty());
}

TEST_F(PictureMenuTest, SettingsFromFullScreenComeOutInFront) {
    Prepare(kStatusPlaying);
    video->ToggleFullScreen();
    ASSERT_TRUE(video->m_bFullScreen);
    static bool seenWhileFullScreen, seenVisible;
    static CVideoRealWnd* picture;
    picture = video;
    seenWhileFullScreen = seenVisible = false;
    // The settings window is modal: a tick looks at it and closes it.
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND settings = FindWindowW(L"SystemInfoWnd", nullptr);
        if (!settings) return;
        seenVisible = IsWindowVisible(settings);
        seenWhileFullScreen = picture->m_bFullScreen;
        PostMessageW(settings, WM_CLOSE, 0, 0);
    });
    frame->RunPictureCommand(kSettings);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(seenVisible);
    EXPECT_FALSE(seenWhileFullScreen) << "the settings opened behind the full-screen picture";
}

TEST_F(PictureMenuTest, ARightClickOnThePictureOpensTheMenu) {
    Prepare(kStatusPlaying);
    static int itemsSeen, ticks;
    itemsSeen = -1;
    ticks = 0;
    // The menu's loop runs this thread's timers: a tick reads the open menu and closes
    // it; after three seconds without one the menu is closed unseen.
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND popup = FindWindowW(L"#32768", nullptr);
        if (popup && IsWindowVisible(popup) && itemsSeen < 0)
            itemsSeen = GetMenuItemCount(reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0)));
        if (itemsSeen >= 0 || ++ticks > 30) EndMenu();
    });
    RECT rc = videotest::WindowRectOf(hVideo);
    SendMessageW(hVideo, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hVideo),
                 MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2));
    KillTimer(nullptr, timer);
    EXPECT_EQ(itemsSeen, static_cast<int>(BuildPictureMenu(ViewOf(*frame)).size()));
    // Closed without a choice: nothing ran.
    EXPECT_TRUE(engine().CommandTexts().empty());
}

} // namespace
