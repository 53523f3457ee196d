#pragma once
// What every end-to-end scenario starts from: the run's folders, which run_e2e.sh
// makes, the clock texts the references learn, and the player, its input and screen.
#include <gtest/gtest.h>

#include <cwchar>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "e2e/desktop_io.h"
#include "e2e/player_process.h"
#include "e2e/player_screen.h"
#include "e2e/reference_frame.h"

namespace e2e {

// The run's folder, its clips, and the folder of the player's private copy.
struct RunFolders {
    std::wstring work = Env(L"MORVANE_E2E_DIR");
    std::wstring media = work + L"\\media";
    std::wstring folder = work + L"\\player";
    std::wstring exe = folder + L"\\Morvane.exe";
};

// The statuses most scenarios read.
inline const std::vector<std::wstring> kStatuses{kPlaying, kPaused, L"停止", L"加载中请等待..."};

// A position as the clock shows it, "00:mm:ss".
inline std::wstring ClockText(int seconds) {
    wchar_t text[16];
    swprintf(text, 16, L"00:%02d:%02d", seconds / 60, seconds % 60);
    return text;
}

// Seconds of a clock text, -1 for one not read.
inline int ClockSeconds(const std::wstring& clock) {
    int h = 0, m = 0, s = 0;
    return swscanf(clock.c_str(), L"%d:%d:%d", &h, &m, &s) == 3 ? (h * 60 + m) * 60 + s : -1;
}

// The clock's texts from 0 to last seconds.
inline std::vector<std::wstring> ClockTexts(int last) {
    std::vector<std::wstring> clocks;
    for (int s = 0; s <= last; ++s) clocks.push_back(ClockText(s));
    return clocks;
}

// A scenario with the player: the references its screen is read by and, once
// started, the process, its main window and that window's screen.
class PlayerTest : public ::testing::Test {
protected:
    // The references, with the settings window's and the bar's layouts.
    ::testing::AssertionResult Render(const std::vector<std::wstring>& statuses,
                                      const std::vector<std::wstring>& clocks);
    // The references, with the list's pictures of these two files.
    ::testing::AssertionResult Render(const ListedFile& first, const ListedFile& second,
                                      const std::vector<std::wstring>& statuses,
                                      const std::vector<std::wstring>& clocks);
    // A private copy of the exe started in the media folder, up to its 840x600 main window.
    ::testing::AssertionResult Start(const std::wstring& arguments = L"",
                                     PlayerProcess::UserState state = PlayerProcess::UserState::Fresh);
    // Names (quoted, space-separated) in the media folder added through the add button and
    // the player's own file dialog, until the list shows rows.
    ::testing::AssertionResult Add(const std::wstring& names);
    // Start, then names added and the first row played until plays() holds.
    ::testing::AssertionResult StartPlaying(const std::wstring& names, const std::function<bool()>& plays);

    RunFolders run;
    References refs;
    SettingsLayout settings;
    BarLayout bar;
    std::unique_ptr<PlayerProcess> player;
    HWND main = nullptr;
    PlayerScreen screen{nullptr, refs};
};

} // namespace e2e
