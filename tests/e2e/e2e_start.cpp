#include "e2e/e2e_start.h"

#include "support/paths.h"

namespace e2e {

namespace {

::testing::AssertionResult Rendered(const std::wstring& error) {
    if (error.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << Utf8(error);
}

// A copy of the built exe in folder, with no cfg.cfg beside it, so the settings start
// from their defaults whatever an earlier run saved. Empty answer: done; else what failed.
std::wstring PrivateCopy(const std::wstring& folder) {
    const std::wstring built = testsupport::WindowsPath(MORVANE_EXE_PATH);
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring cfg = folder + L"\\cfg.cfg";
    DeleteFileW(cfg.c_str());
    if (GetFileAttributesW(cfg.c_str()) != INVALID_FILE_ATTRIBUTES) return L"an old cfg.cfg stays in " + folder;
    if (!CopyFileW(built.c_str(), (folder + L"\\Morvane.exe").c_str(), FALSE)) return L"cannot copy " + built;
    return L"";
}

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

::testing::AssertionResult PlayerTest::Render(const std::vector<std::wstring>& statuses,
                                              const std::vector<std::wstring>& clocks) {
    return Rendered(RenderReferences(statuses, clocks, refs, settings, bar));
}

::testing::AssertionResult PlayerTest::Render(const ListedFile& first, const ListedFile& second,
                                              const std::vector<std::wstring>& statuses,
                                              const std::vector<std::wstring>& clocks) {
    return Rendered(RenderReferences(first, second, statuses, clocks, refs));
}

::testing::AssertionResult PlayerTest::Start(const std::wstring& arguments, PlayerProcess::UserState state) {
    const std::wstring copied = PrivateCopy(run.folder);
    if (!copied.empty()) return ::testing::AssertionFailure() << Utf8(copied);
    player = std::make_unique<PlayerProcess>(run.exe, run.media, arguments, state);
    if (!player->Started()) return ::testing::AssertionFailure() << "the player did not start";
    main = nullptr;
    testsupport::PumpUntil([&] { return (main = FindTopWindow(player->Id(), L"PlayerMainWnd")) || !player->Running(); },
                           30000);
    if (!main) return ::testing::AssertionFailure() << "the player ended or showed no main window";
    const RECT rc = WindowRect(main);
    if (rc.right - rc.left != 840 || rc.bottom - rc.top != 600)
        return ::testing::AssertionFailure() << "main window " << rc.right - rc.left << "x" << rc.bottom - rc.top;
    screen.Attach(main);
    return ::testing::AssertionSuccess();
}

// The folder is entered first: the dialog opens where the last one in this Wine prefix
// was left, which may be another test's folder.
::testing::AssertionResult PlayerTest::Add(const std::wstring& names) {
    Press(screen.CenterOf(refs.layout.add));
    HWND dialog = nullptr;
    if (!testsupport::PumpUntil([&] { return (dialog = FindTopWindow(player->Id(), L"#32770")) != nullptr; }, 15000))
        return ::testing::AssertionFailure() << "no file dialog";
    HWND nameBox = FindDescendant(dialog, L"Edit", 0x47C);
    if (!nameBox) nameBox = FindDescendant(dialog, L"Edit");
    if (!nameBox) return ::testing::AssertionFailure() << "the file dialog has no name box";
    // Keys go to the focus of the foreground window: the dialog's name box.
    SetForegroundWindow(dialog);
    // A folder entered is opened in the dialog, which stays up.
    if (::testing::AssertionResult entered = EnterInto(nameBox, run.media); !entered) return entered;
    testsupport::PumpUntil([&] { return EditText(nameBox) != run.media; }, 5000);
    if (::testing::AssertionResult entered = EnterInto(nameBox, names); !entered) return entered;
    if (!testsupport::PumpUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 10000))
        return ::testing::AssertionFailure() << "the dialog stayed open";
    return screen.Await("added", [&] { return !screen.ListIs(refs.listEmpty); }, 10000);
}

::testing::AssertionResult PlayerTest::StartPlaying(const std::wstring& names, const std::function<bool()>& plays) {
    if (::testing::AssertionResult shown = Start(); !shown) return shown;
    auto ready = screen.Await("started", [&] { return screen.ListIs(refs.listEmpty); }, 15000);
    if (!ready) return ready;
    if (::testing::AssertionResult added = Add(names); !added) return added;
    Press(screen.CenterOf(refs.layout.play));
    return screen.Await("plays", [&] { return screen.Status() == kPlaying && plays(); }, 20000);
}

} // namespace e2e
