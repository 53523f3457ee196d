#pragma once
// The player's main window rendered in this process (same library, skin and
// fonts, recording engine inside): its control rectangles are the real exe's at
// the same size, and its pictures of texts and list rows read the exe's screen by
// exact comparison, since the library paints them and no window text holds them.
#include <windows.h>
#include <functional>
#include <string>
#include <utility>
#include <vector>
#include "e2e/desktop_io.h"

namespace DuiLib {
class CMainFrame;
}

namespace e2e {

// Client rectangles of the controls the test uses.
struct MainLayout {
    RECT add{}, remove{}, clear{}, play{}, setting{}, playRegion{}, list{}, status{}, curTime{}, totalTime{}, seek{};
    RECT minimise{}, close{};   // the caption buttons that end a session legitimately
};

// Texts one control can show, each with its picture.
class TextReader {
public:
    void Learn(const std::wstring& text, Patch picture);
    // The text whose picture equals the shot's pixels at rc; "?" when none does.
    std::wstring Read(const testsupport::Shot& shot, const RECT& rc) const;
    // A text whose picture equals an earlier one's; empty when all differ.
    std::wstring Ambiguous() const;

private:
    std::vector<std::pair<std::wstring, Patch>> m_known;
};

struct References {
    MainLayout layout;
    TextReader status, curTime, totalTime;
    // The list empty, with the two rows added, and with the second selected and deleted.
    Patch listEmpty, listTwoRows, listAfterDelete;
};

// Client rectangles in the settings window.
struct SettingsLayout {
    RECT shapeCombo{}, save{};
    int shapeItems = 0;   // rows of the shape combo's drop-down
};

// Client rectangles in the full-screen bar at the width of the screen.
struct BarLayout {
    RECT play{}, next{}, mute{}, fullscreen{}, curTime{};
};

struct ListedFile {
    std::wstring fullPath;
    std::wstring name;
};

// A control's place in the in-process window, empty when the layout has none of that name.
RECT PosOf(DuiLib::CMainFrame* frame, const wchar_t* name);
// Renders in this process's main window, created for it and closed after; the answer is
// render's, or why the window was not there.
std::wstring WithMainFrame(const std::function<std::wstring(DuiLib::CMainFrame*)>& render);
// The window's picture once painting has settled (two equal captures in a row).
bool CaptureSettled(HWND hwnd, testsupport::Shot& shot);

// Renders everything above; an empty answer means success, else what went wrong.
std::wstring RenderReferences(const ListedFile& first, const ListedFile& second, const std::vector<std::wstring>& statuses,
                              const std::vector<std::wstring>& clocks, References& out);
// The same without the list pictures, plus the settings window's and the bar's layouts.
std::wstring RenderReferences(const std::vector<std::wstring>& statuses, const std::vector<std::wstring>& clocks,
                              References& out, SettingsLayout& settings, BarLayout& bar);

} // namespace e2e
