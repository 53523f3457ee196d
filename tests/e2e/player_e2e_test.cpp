// The real Morvane.exe with the real engine, driven as a user drives it: files
// chosen in the file dialog, the play button, a click on the picture, delete and
// clear. What it shows is read from the screen: the picture's colours in the play
// region, and its texts and list by exact comparison with the same window
// rendered in this process.
#include <gtest/gtest.h>

#include <windows.h>
#include <string>
#include <vector>
#include "e2e/desktop_io.h"
#include "e2e/picture.h"
#include "e2e/player_process.h"
#include "e2e/reference_frame.h"

namespace {

using namespace e2e;

constexpr uint32_t kSecondColour = 0xE07020;   // the flat colour of the second clip
const wchar_t* const kPlaying = L"正在播放";
const wchar_t* const kPaused = L"暂停";

std::string Utf8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring Env(const wchar_t* name) {
    wchar_t value[1024] = L"";
    const DWORD n = GetEnvironmentVariableW(name, value, 1024);
    return n > 0 && n < 1024 ? value : L"";
}

std::wstring ExeInBuild() {
    std::wstring path = L"Z:";
    for (char c : std::string(MORVANE_EXE_PATH)) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path;
}

// The player's main window as the screen shows it.
class PlayerScreen {
public:
    PlayerScreen(HWND main, const References& refs) : m_main(main), m_refs(refs) {}

    bool Capture() {
        RECT rc{};
        return GetWindowRect(m_main, &rc) && CaptureScreen(rc, m_shot);
    }
    std::wstring Status() const { return m_refs.status.Read(m_shot, m_refs.layout.status); }
    std::wstring Clock() const { return m_refs.curTime.Read(m_shot, m_refs.layout.curTime); }
    std::wstring Total() const { return m_refs.totalTime.Read(m_shot, m_refs.layout.totalTime); }
    bool ListIs(const Patch& expected) const { return Cut(m_shot, m_refs.layout.list) == expected; }
    bool ShowsTestPattern() const { return HueClasses(m_shot, InnerBox(m_refs.layout.playRegion)) >= 4; }
    bool ShowsSecondClip() const { return ShareNear(m_shot, InnerBox(m_refs.layout.playRegion), kSecondColour, 32) > 0.9; }

    POINT OnScreen(POINT client) const {
        ClientToScreen(m_main, &client);
        return client;
    }
    POINT CenterOf(const RECT& rc, int dx = 0, int dy = 0) const {
        return OnScreen({(rc.left + rc.right) / 2 + dx, (rc.top + rc.bottom) / 2 + dy});
    }
    void Save(const wchar_t* name) const { SaveShot(m_shot, testsupport::ScreenshotPath(name)); }

    // What the last capture showed, for failure messages.
    std::string Describe() const {
        return "status '" + Utf8(Status()) + "', time " + Utf8(Clock()) + " / " + Utf8(Total()) + ", hue classes " +
               std::to_string(HueClasses(m_shot, InnerBox(m_refs.layout.playRegion))) + ", second-clip share " +
               std::to_string(ShareNear(m_shot, InnerBox(m_refs.layout.playRegion), kSecondColour, 32));
    }

    // Captures until pred holds on a capture or the time is up; on failure saves
    // the last capture as e2e-failed-<step>.png.
    ::testing::AssertionResult Await(const char* step, const std::function<bool()>& pred, DWORD timeoutMs) {
        if (WaitUntil([&] { return Capture() && pred(); }, timeoutMs, 60))
            return ::testing::AssertionSuccess();
        Save((L"e2e-failed-" + std::wstring(step, step + strlen(step)) + L".png").c_str());
        return ::testing::AssertionFailure() << step << ": not seen within " << timeoutMs << " ms; last capture: " << Describe();
    }

private:
    HWND m_main;
    const References& m_refs;
    testsupport::Shot m_shot;
};

// A click, then the pointer off the window, so no tooltip or hot row covers what
// the test reads next.
void Press(POINT screen) {
    ClickAt(screen);
    MoveMouseTo({0, 0});
}

std::wstring EditText(HWND edit) {
    wchar_t text[512] = L"";
    SendMessageW(edit, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

TEST(PlayerEndToEnd, PlaysTheChosenFilesInTurnAndKeepsPlayingThroughPauseDeleteAndClear) {
    const std::wstring work = Env(L"MORVANE_E2E_DIR");
    ASSERT_FALSE(work.empty()) << "run through run_e2e.sh, which sets MORVANE_E2E_DIR";
    const std::wstring media = work + L"\\media";
    const ListedFile first{media + L"\\first.mp4", L"first.mp4"};
    const ListedFile second{media + L"\\second.mkv", L"second.mkv"};
    ASSERT_NE(GetFileAttributesW(first.fullPath.c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_NE(GetFileAttributesW(second.fullPath.c_str()), INVALID_FILE_ATTRIBUTES);

    std::vector<std::wstring> clocks;
    for (int s = 0; s < 10; ++s) clocks.push_back(L"00:00:0" + std::to_wstring(s));
    References refs;
    const std::wstring error =
        RenderReferences(first, second, {kPlaying, kPaused, L"停止", L"加载中请等待..."}, clocks, refs);
    ASSERT_TRUE(error.empty()) << Utf8(error);

    // A copy of its own, so no cfg.cfg left beside the built exe changes the picture.
    const std::wstring folder = work + L"\\player", exe = folder + L"\\Morvane.exe";
    CreateDirectoryW(folder.c_str(), nullptr);
    DeleteFileW((folder + L"\\cfg.cfg").c_str());
    ASSERT_TRUE(CopyFileW(ExeInBuild().c_str(), exe.c_str(), FALSE)) << Utf8(ExeInBuild());

    // Started in the media folder, where the file dialog opens.
    PlayerProcess player(exe, media);
    ASSERT_TRUE(player.Started());
    HWND main = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (main = FindTopWindow(player.Id(), L"PlayerMainWnd")) != nullptr || !player.Running(); }, 30000));
    ASSERT_NE(main, nullptr) << "the player ended without a main window";
    RECT rc{};
    GetWindowRect(main, &rc);
    ASSERT_EQ(rc.right - rc.left, 840);
    ASSERT_EQ(rc.bottom - rc.top, 600);

    PlayerScreen screen(main, refs);
    // Also proves the reading: the exe paints exactly as the in-process window.
    ASSERT_TRUE(screen.Await("started", [&] { return screen.Status() == L"(blank)" && screen.ListIs(refs.listEmpty) && screen.Clock() == L"00:00:00"; }, 15000));

    // Add: the dialog of the player's own process, the names typed into its name box.
    Press(screen.CenterOf(refs.layout.add));
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = FindTopWindow(player.Id(), L"#32770")) != nullptr; }, 15000)) << "no file dialog";
    HWND nameBox = FindDescendant(dialog, L"Edit", 0x47C);
    if (!nameBox) nameBox = FindDescendant(dialog, L"Edit");
    ASSERT_NE(nameBox, nullptr);
    // Keys go to the focus of the foreground window: the dialog's name box.
    SetForegroundWindow(dialog);
    SendMessageW(nameBox, EM_SETSEL, 0, -1);
    const std::wstring typed = L"\"first.mp4\" \"second.mkv\"";
    TypeText(typed);
    ASSERT_TRUE(WaitUntil([&] { return EditText(nameBox) == typed; }, 5000)) << "name box holds '" << Utf8(EditText(nameBox)) << "'";
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 10000)) << "the dialog stayed open";
    ASSERT_TRUE(screen.Await("added", [&] { return screen.ListIs(refs.listTwoRows); }, 10000));
    screen.Save(L"e2e-added.png");

    // Play starts the first row: its pattern in the play region, the status, its length.
    Press(screen.CenterOf(refs.layout.play));
    ASSERT_TRUE(screen.Await("first-plays", [&] {
        return screen.Status() == kPlaying && screen.ShowsTestPattern() && screen.Total() == L"00:00:04";
    }, 20000));
    const std::wstring early = screen.Clock();
    ASSERT_NE(early, L"?") << screen.Describe();
    ASSERT_TRUE(screen.Await("first-advances", [&] {
        return screen.Status() == kPlaying && screen.ShowsTestPattern() && screen.Clock() != L"?" && screen.Clock() > early;
    }, 5000)) << "from " << Utf8(early);
    screen.Save(L"e2e-playing.png");

    // Its end starts the second row.
    ASSERT_TRUE(screen.Await("second-plays", [&] {
        return screen.Status() == kPlaying && screen.ShowsSecondClip() && screen.Total() == L"00:00:08";
    }, 15000));
    screen.Save(L"e2e-next.png");

    // A click on the picture pauses: the status says so and the clock stands.
    Press(screen.CenterOf(refs.layout.playRegion));
    ASSERT_TRUE(screen.Await("paused", [&] { return screen.Status() == kPaused; }, 5000));
    const std::wstring pausedAt = screen.Clock();
    ASSERT_NE(pausedAt, L"?") << screen.Describe();
    screen.Save(L"e2e-paused.png");
    EXPECT_FALSE(WaitUntil([&] { return screen.Capture() && (screen.Status() != kPaused || screen.Clock() != pausedAt); }, 1200, 100))
        << "while paused: " << screen.Describe();

    // A second click, away from the first so it is no double-click, resumes.
    Press(screen.CenterOf(refs.layout.playRegion, 90, 60));
    ASSERT_TRUE(screen.Await("resumed", [&] {
        return screen.Status() == kPlaying && screen.Clock() != L"?" && screen.Clock() > pausedAt;
    }, 5000));

    // Deleting the playing row and clearing the list leave the second clip playing.
    const struct {
        const char* step;
        const RECT& button;
        const Patch& list;
    } edits[] = {{"delete", refs.layout.remove, refs.listAfterDelete}, {"clear", refs.layout.clear, refs.listEmpty}};
    for (const auto& edit : edits) {
        SCOPED_TRACE(edit.step);
        ASSERT_TRUE(screen.Capture());
        const std::wstring before = screen.Clock();
        ASSERT_NE(before, L"?") << screen.Describe();
        Press(screen.CenterOf(edit.button));
        ASSERT_TRUE(screen.Await(edit.step, [&] { return screen.ListIs(edit.list); }, 5000));
        ASSERT_TRUE(screen.Await(edit.step, [&] {
            return screen.Status() == kPlaying && screen.ShowsSecondClip() && screen.Clock() != L"?" && screen.Clock() > before;
        }, 5000)) << "from " << Utf8(before);
    }
    screen.Save(L"e2e-cleared.png");
    EXPECT_TRUE(player.Running());
}

} // namespace
