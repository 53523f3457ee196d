// What the picture's menu offers beyond the buttons: the open file from its start,
// and its place in Explorer.
#include "app/MainFrame.h"
#include "app/PlayerTexts.h"
#include "state/ResumePositions.h"

#include <shlobj.h>
#include <shellapi.h>

#include <algorithm>

namespace DuiLib {

void CMainFrame::PlayFromStart() {
    if (m_strCurPath.IsEmpty())
        return;
    const int status = m_player.play_status();
    if (IsOpenStatus(status)) {
        m_player.seek_to(0.0);
        if (status == kStatusPaused)
            m_player.resume();
        m_userState.openedAt = 0;
        m_strStatusNotice.Empty();   // a resume notice no longer says what plays
        HoldStatusNotice();
        return;
    }
    // Opened again: where it was left is forgotten first, so the open starts at 0.
    m_userState.NoteWhereLeft();
    m_userState.opened.reset();
    const std::wstring path = m_strCurPath.GetData();
    auto& positions = m_userState.state.positions;
    positions.erase(std::remove_if(positions.begin(), positions.end(),
                                   [&](const userstate::RememberedPosition& p) {
                                       return userstate::SameFilePath(p.key.path, path);
                                   }),
                    positions.end());
    OpenAndPlay(path.c_str());
}

void CMainFrame::ShowFileInFolder() {
    if (m_strCurPath.IsEmpty())
        return;
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool shown = false;
    if (PIDLIST_ABSOLUTE item = ::ILCreateFromPathW(m_strCurPath.GetData())) {
        shown = SUCCEEDED(::SHOpenFolderAndSelectItems(item, 0, nullptr, 0));
        ::ILFree(item);
    }
    if (SUCCEEDED(com))
        ::CoUninitialize();
    if (shown)
        return;
    // Without the shell's call (or when it fails) Explorer's own switch does the same.
    const std::wstring arguments = L"/select,\"" + std::wstring(m_strCurPath.GetData()) + L"\"";
    ::ShellExecuteW(m_hWnd, L"open", L"explorer.exe", arguments.c_str(), nullptr, SW_SHOWNORMAL);
}

} // namespace DuiLib
