#include "duilib/UIBase.h"
#include <algorithm>
#include "duilib/UIManager.h"

namespace DuiLib {

namespace {

// Windows we do not own the class of find their object through this property.
constexpr const wchar_t* kObjectProp = L"DuiLib.CWindowWnd";

} // namespace

CWindowWnd::~CWindowWnd() { DetachWindow(); }

void CWindowWnd::DetachWindow() {
    if (!m_hWnd || !::IsWindow(m_hWnd)) return;
    if (m_bSubclassed) {
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_OldWndProc));
        ::RemovePropW(m_hWnd, kObjectProp);
        m_bSubclassed = false;
    } else if (reinterpret_cast<CWindowWnd*>(::GetPropW(m_hWnd, kObjectProp)) == this) {
        ::RemovePropW(m_hWnd, kObjectProp);
    } else if (reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(m_hWnd, GWLP_USERDATA)) == this) {
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    }
    m_hWnd = nullptr;
}

LPCTSTR CWindowWnd::GetSuperClassName() const { return nullptr; }

UINT CWindowWnd::GetClassStyle() const { return CS_DBLCLKS; }

bool CWindowWnd::RegisterWindowClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = GetClassStyle();
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = CPaintManagerUI::GetInstance();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = GetWindowClassName();
    if (::RegisterClassExW(&wc)) return true;
    return ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CWindowWnd::RegisterSuperclass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    HINSTANCE instance = CPaintManagerUI::GetInstance();
    if (!::GetClassInfoExW(nullptr, GetSuperClassName(), &wc) && !::GetClassInfoExW(instance, GetSuperClassName(), &wc))
        return false;
    m_OldWndProc = wc.lpfnWndProc;
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ControlProc;
    wc.hInstance = instance;
    wc.lpszClassName = GetWindowClassName();
    if (::RegisterClassExW(&wc)) return true;
    return ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CWindowWnd::Create(HWND hwndParent, LPCTSTR pstrName, DWORD dwStyle, DWORD dwExStyle, const RECT& rc, HMENU hMenu) {
    return Create(hwndParent, pstrName, dwStyle, dwExStyle, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, hMenu);
}

HWND CWindowWnd::Create(HWND hwndParent, LPCTSTR pstrName, DWORD dwStyle, DWORD dwExStyle, int x, int y, int cx, int cy,
                        HMENU hMenu) {
    if (m_hWnd && ::IsWindow(m_hWnd)) return nullptr;   // one native window per object
    const bool registered = GetSuperClassName() ? RegisterSuperclass() : RegisterWindowClass();
    if (!registered) return nullptr;
    m_bDefaultSize = cx == CW_USEDEFAULT || cy == CW_USEDEFAULT || cx == 0 || cy == 0;
    m_bCreating = true;
    HWND hWnd = ::CreateWindowExW(dwExStyle, GetWindowClassName(), pstrName, dwStyle, x, y, cx, cy, hwndParent, hMenu,
                                  CPaintManagerUI::GetInstance(), this);
    m_bCreating = false;
    if (!hWnd) {
        m_hWnd = nullptr;
        return nullptr;
    }
    return m_hWnd;
}

HWND CWindowWnd::Subclass(HWND hWnd) {
    if (!::IsWindow(hWnd) || m_hWnd) return nullptr;
    ::SetPropW(hWnd, kObjectProp, this);
    m_OldWndProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlProc)));
    if (!m_OldWndProc) {
        ::RemovePropW(hWnd, kObjectProp);
        m_OldWndProc = ::DefWindowProcW;
        return nullptr;
    }
    m_bSubclassed = true;
    m_hWnd = hWnd;
    return m_hWnd;
}

void CWindowWnd::Unsubclass() {
    if (!m_bSubclassed) return;
    DetachWindow();
    m_OldWndProc = ::DefWindowProcW;
}

void CWindowWnd::ShowWindow(bool bShow, bool bTakeFocus) {
    if (!::IsWindow(m_hWnd)) return;
    ::ShowWindow(m_hWnd, bShow ? (bTakeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

UINT CWindowWnd::ShowModal() {
    HWND hWnd = m_hWnd;
    if (!::IsWindow(hWnd)) return IDCANCEL;
    // Everything below uses locals: the object may delete itself when its window goes.
    UINT result = IDCANCEL;
    m_pModalResult = &result;
    HWND hOwner = ::GetWindow(hWnd, GW_OWNER);
    const bool disableOwner = hOwner && ::IsWindowEnabled(hOwner);
    if (!::IsWindowVisible(hWnd)) ::ShowWindow(hWnd, SW_SHOWNORMAL);
    if (disableOwner) ::EnableWindow(hOwner, FALSE);

    bool quit = false;
    WPARAM quitCode = 0;
    MSG msg{};
    while (::IsWindow(hWnd)) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            quitCode = msg.wParam;
            break;
        }
        if (got == -1) break;
        const bool closing = msg.message == WM_CLOSE && msg.hwnd == hWnd;
        // Give the owner back first, so it gets the activation when this window goes.
        if (closing && disableOwner) ::EnableWindow(hOwner, TRUE);
        if (!CPaintManagerUI::TranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (closing && disableOwner && ::IsWindow(hWnd)) ::EnableWindow(hOwner, FALSE);   // close refused
    }
    if (::IsWindow(hWnd)) m_pModalResult = nullptr;   // only while the object is surely alive
    if (disableOwner) {
        ::EnableWindow(hOwner, TRUE);
        if (::IsWindowVisible(hOwner)) ::SetActiveWindow(hOwner);
    }
    // The outer loop must end too.
    if (quit) ::PostQuitMessage(static_cast<int>(quitCode));
    return result;
}

void CWindowWnd::Close(UINT nRet) {
    if (::IsWindow(m_hWnd)) ::PostMessageW(m_hWnd, WM_CLOSE, static_cast<WPARAM>(nRet), 0);
}

void CWindowWnd::CenterWindow() {
    if (!::IsWindow(m_hWnd)) return;
    RECT rcWnd{};
    ::GetWindowRect(m_hWnd, &rcWnd);
    const int width = rcWnd.right - rcWnd.left;
    const int height = rcWnd.bottom - rcWnd.top;

    if (::GetWindowLongW(m_hWnd, GWL_STYLE) & WS_CHILD) {
        RECT area{};
        ::GetClientRect(::GetParent(m_hWnd), &area);
        ::SetWindowPos(m_hWnd, nullptr, (area.right - width) / 2, (area.bottom - height) / 2, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
    const bool overOwner = hOwner && ::IsWindowVisible(hOwner) && !::IsIconic(hOwner);
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoW(::MonitorFromWindow(overOwner ? hOwner : m_hWnd, MONITOR_DEFAULTTONEAREST), &mi);
    const RECT work = mi.rcWork;
    RECT area = work;
    if (overOwner) ::GetWindowRect(hOwner, &area);

    int x = area.left + ((area.right - area.left) - width) / 2;
    int y = area.top + ((area.bottom - area.top) - height) / 2;
    x = std::max(static_cast<int>(work.left), std::min(x, static_cast<int>(work.right) - width));
    y = std::max(static_cast<int>(work.top), std::min(y, static_cast<int>(work.bottom) - height));
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::SetIcon(UINT nRes) {
    if (!::IsWindow(m_hWnd)) return;
    HINSTANCE instance = CPaintManagerUI::GetInstance();
    auto load = [&](int cx, int cy) {
        return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(nRes), IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR | LR_SHARED));
    };
    if (HICON big = load(::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)))
        ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    if (HICON smallIcon = load(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON)))
        ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
}

LRESULT CWindowWnd::SendMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(m_hWnd, uMsg, wParam, lParam);
}

LRESULT CWindowWnd::PostMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageW(m_hWnd, uMsg, wParam, lParam);
}

void CWindowWnd::ResizeClient(int cx, int cy) {
    if (!::IsWindow(m_hWnd)) return;
    RECT rcClient{};
    RECT rcWindow{};
    ::GetClientRect(m_hWnd, &rcClient);
    ::GetWindowRect(m_hWnd, &rcWindow);
    const int frameX = (rcWindow.right - rcWindow.left) - rcClient.right;
    const int frameY = (rcWindow.bottom - rcWindow.top) - rcClient.bottom;
    if (cx < 0) cx = rcClient.right;
    if (cy < 0) cy = rcClient.bottom;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, cx + std::max(0, frameX), cy + std::max(0, frameY),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CWindowWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcW(m_OldWndProc, m_hWnd, uMsg, wParam, lParam);
}

void CWindowWnd::OnFinalMessage(HWND) {}

LRESULT CALLBACK CWindowWnd::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    CWindowWnd* pThis = nullptr;
    if (uMsg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<LPCREATESTRUCTW>(lParam);
        pThis = static_cast<CWindowWnd*>(cs->lpCreateParams);
        if (pThis) {
            pThis->m_hWnd = hWnd;
            ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pThis));
        }
    } else {
        pThis = reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    }
    if (!pThis) return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    return Dispatch(pThis, hWnd, uMsg, wParam, lParam, false);
}

LRESULT CALLBACK CWindowWnd::ControlProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    CWindowWnd* pThis = nullptr;
    if (uMsg == WM_NCCREATE && !::GetPropW(hWnd, kObjectProp)) {
        auto* cs = reinterpret_cast<LPCREATESTRUCTW>(lParam);
        pThis = static_cast<CWindowWnd*>(cs->lpCreateParams);
        if (pThis) {
            pThis->m_hWnd = hWnd;
            ::SetPropW(hWnd, kObjectProp, pThis);
        }
    } else {
        pThis = static_cast<CWindowWnd*>(::GetPropW(hWnd, kObjectProp));
    }
    if (!pThis) return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    return Dispatch(pThis, hWnd, uMsg, wParam, lParam, true);
}

LRESULT CWindowWnd::Dispatch(CWindowWnd* pThis, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, bool bProp) {
    if (uMsg == WM_CLOSE && pThis->m_pModalResult) *pThis->m_pModalResult = static_cast<UINT>(wParam);
    if (uMsg != WM_NCDESTROY) return pThis->HandleMessage(uMsg, wParam, lParam);

    const LRESULT lRes = pThis->HandleMessage(uMsg, wParam, lParam);
    if (bProp) ::RemovePropW(hWnd, kObjectProp);
    else ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
    if (pThis->m_bSubclassed) {
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pThis->m_OldWndProc));
        pThis->m_bSubclassed = false;
    }
    pThis->m_hWnd = nullptr;
    pThis->m_pModalResult = nullptr;
    // A window that never finished creating stays its creator's to delete.
    if (!pThis->m_bCreating) pThis->OnFinalMessage(hWnd);
    return lRes;
}

} // namespace DuiLib
