// Screenshots: the engine's last picture, as the video has it (its own size, its
// shape and effect), saved as PNG; the title says where it went, or that it failed.
#include "app/MainFrame.h"
#include "app/PlayerTexts.h"
#include "playback/PngFile.h"
#include "playback/ScreenshotFile.h"

#include <shlobj.h>

namespace DuiLib {

namespace {

std::wstring UserProfile() {
    const DWORD size = ::GetEnvironmentVariableW(L"USERPROFILE", nullptr, 0);
    if (size == 0)
        return {};
    std::wstring value(size, L'\0');
    value.resize(::GetEnvironmentVariableW(L"USERPROFILE", value.data(), size));
    return value;
}

bool MakeFolder(const std::wstring& folder) {
    const int result = ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    return result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS;
}

} // namespace

void CMainFrame::TakeScreenshot() {
    std::vector<unsigned char> bgra;
    int width = 0, height = 0;
    if (!IsFileOpen() || m_strCurPath.IsEmpty() ||
        !m_player.last_picture(bgra, width, height)) {
        ShowStatusNotice(screenshot::kTextNoPicture);
        return;
    }
    const std::wstring folder = screenshot::ScreenshotFolder(UserProfile());
    const std::wstring path =
        folder + L"\\" + screenshot::ScreenshotName(m_strCurPath.GetData(), m_player.curr_play_time());
    const bool saved = !folder.empty() && MakeFolder(folder) && screenshot::WritePng(path, bgra.data(), width, height);
    ShowStatusNotice(((saved ? screenshot::kTextSavedTo : screenshot::kTextNotWritten) + path).c_str());
}

} // namespace DuiLib
