#pragma once
// The player's main window as the screen shows it, read against the references.
#include <gtest/gtest.h>

#include <windows.h>
#include <functional>
#include <string>
#include "e2e/desktop_io.h"
#include "e2e/player_process.h"
#include "e2e/reference_frame.h"

namespace e2e {

inline constexpr uint32_t kFlatColour = 0xE07020;   // the one colour of the second and the long clip
inline constexpr const wchar_t* kPlaying = L"正在播放";
inline constexpr const wchar_t* kPaused = L"暂停";

std::string Utf8(const std::wstring& text);
std::wstring Env(const wchar_t* name);
// The bytes of a file; empty when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);
// Writes the file afresh with these bytes; false when any is not written.
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);

class PlayerScreen {
public:
    PlayerScreen(HWND main, const References& refs) : m_main(main), m_refs(refs) {}
    // Reads this main window from now on, one of a player started again.
    void Attach(HWND main) { m_main = main; }

    bool Capture();
    std::wstring Status() const { return m_refs.status.Read(m_shot, m_refs.layout.status); }
    std::wstring Clock() const { return m_refs.curTime.Read(m_shot, m_refs.layout.curTime); }
    std::wstring Total() const { return m_refs.totalTime.Read(m_shot, m_refs.layout.totalTime); }
    bool ListIs(const Patch& expected) const { return Cut(m_shot, m_refs.layout.list) == expected; }
    bool ShowsTestPattern() const;
    bool ShowsSecondClip() const;
    const testsupport::Shot& Shot() const { return m_shot; }

    POINT OnScreen(POINT client) const;
    POINT CenterOf(const RECT& rc, int dx = 0, int dy = 0) const;
    void Save(const wchar_t* name) const;

    // What the last capture showed, for failure messages.
    std::string Describe() const;

    // Captures until pred holds on a capture or the time is up; on failure saves
    // the last capture as e2e-failed-<step>.png.
    ::testing::AssertionResult Await(const char* step, const std::function<bool()>& pred, DWORD timeoutMs);

private:
    HWND m_main;
    const References& m_refs;
    testsupport::Shot m_shot;
};

// A click, then the pointer off the window, so no tooltip or hot row covers what
// the test reads next.
void Press(POINT screen);

} // namespace e2e
