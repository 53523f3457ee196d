// TEMPORARY during integration: empty bodies so every branch links while its
// owner writes the real ones. Each owner deletes its block; the file goes before merge.
#include "app/MainFrame.h"
#include "playback/ListCallback.h"
#include "video/VideoRealWnd.h"

namespace DuiLib {

// --- video window (video/)
void CMainFrame::CreateVideoWnd() {}
void CMainFrame::FitVideoToPlayRegion() {}
CVideoRealWnd::~CVideoRealWnd() = default;
LPCTSTR CVideoRealWnd::GetWindowClassName() const { return L"VideoRealWnd"; }
LRESULT CVideoRealWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) { return WindowImplBase::HandleMessage(uMsg, wParam, lParam); }
void CVideoRealWnd::InitWindow() {}
CDuiString CVideoRealWnd::GetSkinFolder() { return L"Res"; }
CDuiString CVideoRealWnd::GetSkinFile() { return L"VideoRealWnd.xml"; }
UINT CVideoRealWnd::GetResourceType() { return UILIB_ZIPRESOURCE; }
UINT CVideoRealWnd::GetResourceID() { return 131; }
LRESULT CVideoRealWnd::ResponseDefaultKeyEvent(WPARAM) { return 0; }
LRESULT CVideoRealWnd::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL& b) { b = FALSE; return 0; }
LRESULT CVideoRealWnd::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL& b) { b = FALSE; return 0; }
LRESULT CVideoRealWnd::OnMouseMove(UINT, WPARAM, LPARAM, BOOL& b) { b = FALSE; return 0; }
LRESULT CVideoRealWnd::HandleCustomMessage(UINT, WPARAM, LPARAM, BOOL& b) { b = FALSE; return 0; }
void CVideoRealWnd::ToggleFullScreen() {}
void CVideoRealWnd::ShowPlayBar(bool) {}
void CVideoRealWnd::HidePlayBar() {}

} // namespace DuiLib
