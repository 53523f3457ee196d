// Files from outside the add dialog: the command line, a second start, a drop.
#include "app/MainFrame.h"

#include <shellapi.h>

#include "playback/OpenedPaths.h"
#include "playback/PathIndex.h"
#include "playback/PlayerTexts.h"

namespace DuiLib {

namespace {

// Not a system message: 0x0049 carries a drop's data across the elevation boundary.
constexpr UINT kCopyGlobalData = 0x0049;

} // namespace

std::wstring CMainFrame::AddOpenedPaths(const std::vector<std::wstring>& paths) {
    const std::vector<std::wstring> files = playlist::ExpandToFiles(paths);
    RebuildPathIndex();
    std::wstring first;
    for (const std::wstring& file : files) {
        if (first.empty())
            first = file;
        if (!IsPathInList(file.c_str())) {
            AddListItem(file.c_str(), playlist::DisplayName(file).c_str());
            // Known from now on: a path named twice in one go is listed once.
            m_vecPaths.push_back(file);
            m_pathIndex.Add(file);
        }
    }
    return first;
}

int CMainFrame::RowOfPath(const std::wstring& path) {
    if (!m_pPlayList)
        return -1;
    for (int i = 0; i < m_pPlayList->GetCount(); ++i) {
        CControlUI* row = m_pPlayList->GetItemAt(i);
        if (row && playlist::SamePath(path.c_str(), path.size(), row->GetName().str()))
            return i;
    }
    return -1;
}

void CMainFrame::PlayListedPath(const std::wstring& path) {
    const int row = RowOfPath(path);
    if (row < 0)
        return;
    // Selected, so previous and next go on from it.
    m_pPlayList->SelectItem(row, false);
    OpenAndPlay(m_pPlayList->GetItemAt(row)->GetName());
}

void CMainFrame::OpenPaths(const std::vector<std::wstring>& paths) {
    const std::wstring first = AddOpenedPaths(paths);
    if (!first.empty())
        PlayListedPath(first);
}

void CMainFrame::DropFiles(HDROP drop) {
    std::vector<std::wstring> paths = playlist::PathsFromDrop(drop);
    ::DragFinish(drop);
    TakeDroppedSubtitles(paths);
    const std::wstring first = AddOpenedPaths(paths);
    const int status = m_player.play_status();
    if (!first.empty() && status != kStatusPlaying && status != kStatusPaused)
        PlayListedPath(first);
}

bool CMainFrame::ReceiveForwardedPaths(const COPYDATASTRUCT* data) {
    if (!data || data->dwData != playlist::kForwardedPathsTag)
        return false;
    std::vector<std::wstring> paths = playlist::UnpackPaths(data->lpData, data->cbData);
    if (paths.empty())
        return false;
    // Opened once the sender is released: an open may take a while, and the second
    // start waits on this message.
    m_forwardedPaths.push_back(std::move(paths));
    ::PostMessageW(m_hWnd, kMsgOpenForwarded, 0, 0);
    return true;
}

void CMainFrame::OpenForwardedPaths() {
    std::vector<std::vector<std::wstring>> batches;
    batches.swap(m_forwardedPaths);
    for (const auto& paths : batches)
        OpenPaths(paths);
}

void AcceptOpenRequests(HWND hwnd) {
    if (!hwnd)
        return;
    ::DragAcceptFiles(hwnd, TRUE);
    // An elevated window gets these from a normal Explorer or a normal second start
    // only when it lets them through.
    for (UINT message : {static_cast<UINT>(WM_DROPFILES), static_cast<UINT>(WM_COPYDATA), kCopyGlobalData})
        ::ChangeWindowMessageFilterEx(hwnd, message, MSGFLT_ALLOW, nullptr);
}

} // namespace DuiLib
