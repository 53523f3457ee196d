// TEMPORARY during integration: empty bodies so every branch links while its
// owner writes the real ones. Each owner deletes its block; the file goes before merge.
#include "app/MainFrame.h"
#include "playback/ListCallback.h"
#include "video/VideoRealWnd.h"

namespace DuiLib {

// --- playlist (playback/Playlist.cpp, playback/ListCallback.cpp)
void CMainFrame::AddFiles() {}
void CMainFrame::AddDialogResult(const wchar_t*, size_t, size_t) {}
void CMainFrame::RebuildPathIndex() {}
bool CMainFrame::IsPathInList(LPCTSTR) { return false; }
void CMainFrame::AddListItem(LPCTSTR, LPCTSTR) {}
void CMainFrame::DeleteSelected() {}
void CMainFrame::ClearList() {}
LPCTSTR CListCallbackUI::GetItemText(CControlUI*, int, int) { return L""; }
void CListCallbackUI::SetItemText(CControlUI*, int, int, LPCTSTR) {}

// --- playback commands, progress, volume, list panel (playback/)
void CMainFrame::OnPlayCommand() {}
void CMainFrame::PlaySelected() {}
void CMainFrame::PlayOrPause(LPCTSTR) {}
void CMainFrame::OpenAndPlay(LPCTSTR) {}
void CMainFrame::StopPlayback() {}
void CMainFrame::PlayPrev() {}
void CMainFrame::PlayNext() {}
void CMainFrame::UpdateProgress() {}
void CMainFrame::SyncPlayBar() {}
void CMainFrame::MuteOn() {}
void CMainFrame::MuteOff() {}
void CMainFrame::UpdateMuteButtons(bool) {}
void CMainFrame::ToggleListPanel() {}

} // namespace DuiLib
