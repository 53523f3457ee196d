#include "duilib/UITrackingTip.h"

#include <commctrl.h>

#include "duilib/UIManager.h"

namespace DuiLib {

namespace {

constexpr UINT_PTR kToolId = 1;

TTTOOLINFOW ToolOf(HWND owner, const CDuiString& text, const RECT& area) {
    TTTOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    ti.hwnd = owner;
    ti.uId = kToolId;
    ti.hinst = CPaintManagerUI::GetInstance();
    ti.lpszText = const_cast<wchar_t*>(text.GetData());
    ti.rect = area;
    return ti;
}

} // namespace

bool CTrackingTip::Show(HWND owner, LPCTSTR text, POINT at, const RECT& area) {
    if (!owner || !text || !*text)
        return false;
    if (m_hwnd && (m_owner != owner || !::IsWindow(m_hwnd)))
        Destroy();
    if (!m_hwnd) {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&icc);
        m_hwnd = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                   CPaintManagerUI::GetInstance(), nullptr);
        if (!m_hwnd)
            return false;
        m_owner = owner;
        ::SendMessageW(m_hwnd, TTM_SETMAXTIPWIDTH, 0, 400);
    }
    // The owner's default font, as its own texts are drawn: the system's tip font may
    // lack their glyphs (under Wine, Chinese shows as empty boxes in it).
    if (CPaintManagerUI* manager = CPaintManagerUI::FromWindow(owner)) {
        const HFONT font = manager->GetDefaultFont();
        if (font != m_font) {
            ::SendMessageW(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
            m_font = font;
        }
    }
    m_text = text;
    TTTOOLINFOW ti = ToolOf(owner, m_text, area);
    if (!m_added)
        m_added = ::SendMessageW(m_hwnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)) != FALSE;
    else {
        ::SendMessageW(m_hwnd, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti));
        ::SendMessageW(m_hwnd, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));   // redrawn if shown
    }
    ::SendMessageW(m_hwnd, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
    if (!m_shown)
        ::SendMessageW(m_hwnd, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
    m_shown = true;
    return true;
}

void CTrackingTip::Hide() {
    if (!m_shown)
        return;
    m_shown = false;
    if (!m_hwnd || !::IsWindow(m_hwnd))
        return;
    TTTOOLINFOW ti = ToolOf(m_owner, m_text, RECT{});
    ::SendMessageW(m_hwnd, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
}

void CTrackingTip::Destroy() {
    if (m_hwnd && ::IsWindow(m_hwnd))
        ::DestroyWindow(m_hwnd);
    m_hwnd = nullptr;
    m_owner = nullptr;
    m_font = nullptr;
    m_added = false;
    m_shown = false;
}

} // namespace DuiLib
