// CMainFrame's life: construction, destruction, the skin hooks and InitWindow.
#include "app/MainFrame.h"
#include "app/Entry.h"
#include "playback/ListCallback.h"

DuiLib::CMainFrame* g_pMainFrame = nullptr;

namespace DuiLib {

namespace {

// The layout's controls by name, typed through the capability the library answers.
template <typename T>
T* FindAs(CPaintManagerUI& manager, LPCTSTR name, LPCTSTR capability) {
    CControlUI* control = manager.FindControl(name);
    return control ? static_cast<T*>(control->GetInterface(capability)) : nullptr;
}

} // namespace

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame() {
    DestroyVideoWnd();
    delete m_pListCallback;
    m_pListCallback = nullptr;
    m_bReady = 0;
}

LPCTSTR CMainFrame::GetWindowClassName() const { return kMainWindowClass; }
CDuiString CMainFrame::GetSkinFolder() { return L""; }
CDuiString CMainFrame::GetSkinFile() { return L"MainFrame.xml"; }
UINT CMainFrame::GetResourceType() { return UILIB_ZIPRESOURCE; }
LPCTSTR CMainFrame::GetZIPFileName() { return L"Res.zip"; }
UINT CMainFrame::GetResourceID() { return 131; }
LRESULT CMainFrame::ResponseDefaultKeyEvent(WPARAM) { return 0; }
CControlUI* CMainFrame::CreateControl(LPCTSTR) { return nullptr; }

LRESULT CMainFrame::HandleCustomMessage(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

void CMainFrame::OnFinalMessage(HWND hWnd) {
    WindowImplBase::OnFinalMessage(hWnd);
    // Destroyed by another path than the close command (DestroyWindow, the system):
    // end the loop too, or the process would live on with no window, and never
    // leave g_pMainFrame pointing at a deleted object.
    if (g_pMainFrame == this) {
        g_pMainFrame = nullptr;
        ::PostQuitMessage(0);
    }
    delete this;
}

void CMainFrame::InitWindow() {
    // The layout declares the pair the other way round; a window starts restored.
    ShowMaximizedButtons(false);

    m_pPlayList = FindAs<CListUI>(m_PaintManager, L"listplay", L"List");
    if (m_pPlayList) {
        m_pListCallback = new CListCallbackUI();
        m_pPlayList->SetTextCallback(m_pListCallback);
    }

    m_pVolumeSlider = FindAs<CSliderUI>(m_PaintManager, L"slider_volumn", L"Slider");
    // The engine keeps its volume across files: told once, it plays the first file at
    // the level the slider shows, not at its own full gain.
    SetVolumeFromSlider();
    m_pPlaySlider = FindAs<CSliderUI>(m_PaintManager, L"slider_play", L"Slider");
    m_pCurTimeText = m_PaintManager.FindControl(L"txt_curtime");
    m_pTotalTimeText = m_PaintManager.FindControl(L"txt_totaltime");

    // Created hidden; shown without the focus, which stays with the main window.
    CreateVideoWnd();
    if (const HWND picture = VideoWindow())
        ::ShowWindow(picture, SW_SHOWNOACTIVATE);

    m_bReady = 1;
    ::SetTimer(m_hWnd, kTimerPoll, kPollPeriodMs, nullptr);
    AcceptOpenRequests(m_hWnd);
    if (const HWND picture = VideoWindow())
        AcceptOpenRequests(picture);

    LoadConfig();
}

void CMainFrame::ShowMaximizedButtons(bool bMaximized) {
    if (CControlUI* pMax = m_PaintManager.FindControl(L"btn_max"))
        pMax->SetVisible(!bMaximized);
    if (CControlUI* pRestore = m_PaintManager.FindControl(L"btn_restore"))
        pRestore->SetVisible(bMaximized);
}

} // namespace DuiLib
