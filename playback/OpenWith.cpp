// Files from outside the add dialog: the command line, a second start, a drop.
#include "app/MainFrame.h"

#include <shellapi.h>

#include "playback/OpenedPaths.h"
#include "playback/PathIndex.h"
#include "app/PlayerTexts.h"

namespace DuiLib {

std::wstring CMainFrame::AddListedFiles(const std::vector<std::wstring>& files) {
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
    if (!paths.empty())
        m_listings.Start(m_hWnd, playlist::PathSource::CommandLine, paths);
}

void CMainFrame::DropFiles(HDROP drop) {
    std::optional<std::vector<std::wstring>> paths = playlist::TakeDrop(drop);
    if (!paths)
        return;
    TakeDroppedSubtitles(*paths);
    if (!paths->empty())
        m_listings.Start(m_hWnd, playlist::PathSource::Drop, std::move(*paths));
}

void CMainFrame::DiscardDrop(HDROP drop) { playlist::TakeDrop(drop); }

bool CMainFrame::ReceiveForwardedPaths(const COPYDATASTRUCT* data) {
    if (!data || data->dwData != playlist::kForwardedPathsTag)
        return false;
    std::vector<std::wstring> paths = playlist::UnpackPaths(data->lpData, data->cbData);
    // The sender is answered at once; the files are added when listed.
    return !paths.empty() && m_listings.Start(m_hWnd, playlist::PathSource::SecondStart, std::move(paths));
}

void CMainFrame::AddFinishedListings() {
    for (const playlist::Listing& listing : m_listings.TakeFinished()) {
        const std::wstring first = AddListedFiles(listing.files);
        if (first.empty())
            continue;
        const bool idle = !IsFileOpen();
        // A drop adds to what plays; the command line and a second start ask to play.
        if (listing.source != playlist::PathSource::Drop || idle)
            PlayListedPath(first);
    }
}

void AcceptOpenRequests(HWND hwnd) {
    if (!hwnd)
        return;
    ::DragAcceptFiles(hwnd, TRUE);
    for (UINT message : playlist::kMessagesFromLowerPrograms)
        ::ChangeWindowMessageFilterEx(hwnd, message, MSGFLT_ALLOW, nullptr);
}

} // namespace DuiLib
