#include "e2e/player_screen.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include "e2e/picture.h"
#include "support/paths.h"

namespace e2e {

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

std::wstring ExeInBuild() { return testsupport::WindowsPath(MORVANE_EXE_PATH); }

std::wstring PrivateCopy(const std::wstring& folder) {
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring cfg = folder + L"\\cfg.cfg";
    DeleteFileW(cfg.c_str());
    if (GetFileAttributesW(cfg.c_str()) != INVALID_FILE_ATTRIBUTES) return L"an old cfg.cfg stays in " + folder;
    if (!CopyFileW(ExeInBuild().c_str(), (folder + L"\\Morvane.exe").c_str(), FALSE)) return L"cannot copy " + ExeInBuild();
    return L"";
}

std::string ReadFileBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : std::string();
}

bool PlayerScreen::Capture() {
    RECT rc{};
    return GetWindowRect(m_main, &rc) && CaptureScreen(rc, m_shot);
}

bool PlayerScreen::ShowsTestPattern() const { return HueClasses(m_shot, InnerBox(m_refs.layout.playRegion)) >= 4; }

bool PlayerScreen::ShowsSecondClip() const {
    return ShareNear(m_shot, InnerBox(m_refs.layout.playRegion), kFlatColour, 32) > 0.9;
}

POINT PlayerScreen::OnScreen(POINT client) const {
    ClientToScreen(m_main, &client);
    return client;
}

POINT PlayerScreen::CenterOf(const RECT& rc, int dx, int dy) const {
    return OnScreen({(rc.left + rc.right) / 2 + dx, (rc.top + rc.bottom) / 2 + dy});
}

void PlayerScreen::Save(const wchar_t* name) const { SaveShot(m_shot, testsupport::ScreenshotPath(name)); }

std::string PlayerScreen::Describe() const {
    return "status '" + Utf8(Status()) + "', time " + Utf8(Clock()) + " / " + Utf8(Total()) + ", hue classes " +
           std::to_string(HueClasses(m_shot, InnerBox(m_refs.layout.playRegion))) + ", second-clip share " +
           std::to_string(ShareNear(m_shot, InnerBox(m_refs.layout.playRegion), kFlatColour, 32));
}

::testing::AssertionResult PlayerScreen::Await(const char* step, const std::function<bool()>& pred, DWORD timeoutMs) {
    if (testsupport::PumpUntil([&] { return Capture() && pred(); }, timeoutMs, 60))
        return ::testing::AssertionSuccess();
    Save((L"e2e-failed-" + std::wstring(step, step + strlen(step)) + L".png").c_str());
    return ::testing::AssertionFailure() << step << ": not seen within " << timeoutMs << " ms; last capture: " << Describe();
}

void Press(POINT screen) {
    ClickAt(screen);
    MoveMouseTo({0, 0});
}

namespace {

std::wstring EditText(HWND edit) {
    wchar_t text[512] = L"";
    SendMessageW(edit, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

// Replaces the name box's text, typed as a user types it, then presses Enter.
::testing::AssertionResult EnterInto(HWND nameBox, const std::wstring& text) {
    SendMessageW(nameBox, EM_SETSEL, 0, -1);
    TypeText(text);
    if (!testsupport::PumpUntil([&] { return EditText(nameBox) == text; }, 5000))
        return ::testing::AssertionFailure() << "name box holds '" << Utf8(EditText(nameBox)) << "'";
    PressKey(VK_RETURN);
    return ::testing::AssertionSuccess();
}

} // namespace

::testing::AssertionResult AddThroughDialog(const PlayerProcess& player, const PlayerScreen& screen,
                                            const RECT& addButton, const std::wstring& names, const std::wstring& folder) {
    Press(screen.CenterOf(addButton));
    HWND dialog = nullptr;
    if (!testsupport::PumpUntil([&] { return (dialog = FindTopWindow(player.Id(), L"#32770")) != nullptr; }, 15000))
        return ::testing::AssertionFailure() << "no file dialog";
    HWND nameBox = FindDescendant(dialog, L"Edit", 0x47C);
    if (!nameBox) nameBox = FindDescendant(dialog, L"Edit");
    if (!nameBox) return ::testing::AssertionFailure() << "the file dialog has no name box";
    // Keys go to the focus of the foreground window: the dialog's name box.
    SetForegroundWindow(dialog);
    // A folder entered is opened in the dialog, which stays up.
    if (::testing::AssertionResult entered = EnterInto(nameBox, folder); !entered) return entered;
    testsupport::PumpUntil([&] { return EditText(nameBox) != folder; }, 5000);
    if (::testing::AssertionResult entered = EnterInto(nameBox, names); !entered) return entered;
    if (!testsupport::PumpUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 10000))
        return ::testing::AssertionFailure() << "the dialog stayed open";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult AwaitMainWindow(const PlayerProcess& player, HWND& main) {
    if (!player.Started()) return ::testing::AssertionFailure() << "the player did not start";
    main = nullptr;
    testsupport::PumpUntil([&] { return (main = FindTopWindow(player.Id(), L"PlayerMainWnd")) != nullptr || !player.Running(); }, 30000);
    if (!main) return ::testing::AssertionFailure() << "the player ended or showed no main window";
    RECT rc{};
    GetWindowRect(main, &rc);
    if (rc.right - rc.left != 840 || rc.bottom - rc.top != 600)
        return ::testing::AssertionFailure() << "main window " << rc.right - rc.left << "x" << rc.bottom - rc.top;
    return ::testing::AssertionSuccess();
}

} // namespace e2e
