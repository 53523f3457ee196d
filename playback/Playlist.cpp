// The playlist: adding chosen files as rows, removing one row or all of them.
#include "app/MainFrame.h"

#include <cderr.h>

#include "playback/AddFilesDialog.h"
#include "playback/ColumnText.h"
#include "playback/DialogResult.h"
#include "app/PlayerTexts.h"

namespace DuiLib {

namespace {

// One buffer for the process, cleared only after a failure: the dialog's name box
// starts with the first string of the previous result.
wchar_t g_szFileNames[playlist::kNameBufferUnits];

} // namespace

void CMainFrame::AddFiles() {
    OPENFILENAMEW request = playlist::AddFilesRequest(m_hWnd, g_szFileNames, playlist::kNameBufferUnits);
    const playlist::OpenDialogCalls& dialog = playlist::AddFilesDialogCalls();
    if (!dialog.show(&request)) {
        // A failed dialog leaves the size it needed in the first unit, which the next
        // dialog would show in its name box. A cancel leaves the last result alone.
        const DWORD error = dialog.lastError();
        if (error != 0)
            g_szFileNames[0] = L'\0';
        if (error == FNERR_BUFFERTOOSMALL)
            ShowNotice(kTextAddInSmallerGroups);
        return;
    }
    AddDialogResult(g_szFileNames, playlist::kNameBufferUnits, request.nFileOffset);
}

void CMainFrame::AddDialogResult(const wchar_t* result, size_t resultLength, size_t fileOffset) {
    const std::vector<playlist::ChosenFile> files = playlist::SplitDialogResult(result, resultLength, fileOffset);
    RebuildPathIndex();
    // The known paths stay as the rows were before this result.
    for (const playlist::ChosenFile& file : files) {
        if (!IsPathInList(file.fullPath.c_str()))
            AddListItem(file.fullPath.c_str(), file.name.c_str());
    }
}

void CMainFrame::RebuildPathIndex() {
    m_vecPaths.clear();
    m_pathIndex.Clear();
    if (!m_pPlayList)
        return;
    const int count = m_pPlayList->GetCount();
    m_vecPaths.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        if (CControlUI* row = m_pPlayList->GetItemAt(i))
            m_vecPaths.push_back(row->GetName().str());
    }
    for (const std::wstring& path : m_vecPaths)
        m_pathIndex.Add(path);
}

bool CMainFrame::IsPathInList(LPCTSTR path) {
    if (!path || m_vecPaths.empty())
        return false;
    return m_pathIndex.Contains(path);
}

void CMainFrame::AddListItem(LPCTSTR fullPath, LPCTSTR displayName) {
    if (!m_pPlayList || !fullPath || !*fullPath)
        return;
    auto* row = new CListTextElementUI;
    row->SetUserData((std::wstring(displayName ? displayName : L"") + playlist::ColumnMarker(0)).c_str());
    row->SetTag(1);
    row->SetName(fullPath);
    if (!m_pPlayList->Add(row))
        delete row;
}

// Neither removal touches playback: what plays goes on, with its path and status shown.
void CMainFrame::DeleteSelected() {
    if (!m_pPlayList)
        return;
    const int selected = m_pPlayList->GetCurSel();
    if (selected >= 0)
        m_pPlayList->RemoveAt(selected);
}

void CMainFrame::ClearList() {
    if (m_pPlayList)
        m_pPlayList->RemoveAll();
}

} // namespace DuiLib
