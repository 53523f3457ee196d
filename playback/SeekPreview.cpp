#include "playback/SeekPreview.h"

#include <commctrl.h>

#include "playback/ProgressMath.h"

namespace DuiLib {

namespace {

constexpr UINT_PTR kToolId = 1;

TTTOOLINFOW ToolOf(HWND owner, const CDuiString& text) {
    TTTOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    ti.hwnd = owner;
    ti.uId = kToolId;
    ti.lpszText = const_cast<wchar_t*>(text.GetData());
    return ti;
}

} // namespace

CDuiString SeekPreviewText(int value, int max, double duration) {
    if (max <= 0 || !(duration > 0.0))
        return CDuiString();
    return FormatTime(SeekFraction(value, max) * duration);
}

CSeekPreview::~CSeekPreview() {
    if (m_tip && ::IsWindow(m_tip))
        ::DestroyWindow(m_tip);
}

bool CSeekPreview::EnsureWindow(HWND owner) {
    if (m_tip && ::IsWindow(m_tip) && m_owner == owner)
        return true;
    if (m_tip && ::IsWindow(m_tip))
        ::DestroyWindow(m_tip);
    m_tip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                              ::GetModuleHandleW(nullptr), nullptr);
    m_owner = m_tip ? owner : nullptr;
    if (!m_tip)
        return false;
    TTTOOLINFOW ti = ToolOf(owner, m_text);
    ::SendMessageW(m_tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    return true;
}

void CSeekPreview::Follow(HWND owner, CSliderUI* slider, POINT at, const std::function<double()>& openDuration) {
    // The engine is asked only over the slider: a pointer crossing the window costs nothing.
    const bool over = slider && slider->IsVisible() && ::PtInRect(&slider->GetPos(), at);
    const double duration = over ? openDuration() : 0.0;
    if (!(duration > 0.0)) {
        Hide();
        return;
    }
    const CDuiString text = SeekPreviewText(slider->ValueUnder(at), slider->GetMaxValue(), duration);
    if (text.IsEmpty() || !EnsureWindow(owner)) {
        Hide();
        return;
    }
    m_text = text;
    TTTOOLINFOW ti = ToolOf(owner, m_text);
    ::SendMessageW(m_tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    // Above the pointer, so the tip never covers the slider being aimed at.
    POINT screen = at;
    ::ClientToScreen(owner, &screen);
    ::SendMessageW(m_tip, TTM_TRACKPOSITION, 0, MAKELPARAM(screen.x + 8, screen.y - 28));
    if (!m_shown)
        ::SendMessageW(m_tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
    m_shown = true;
}

void CSeekPreview::Hide() {
    if (!m_shown)
        return;
    m_shown = false;
    if (!m_tip || !::IsWindow(m_tip))
        return;
    TTTOOLINFOW ti = ToolOf(m_owner, m_text);
    ::SendMessageW(m_tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
}

} // namespace DuiLib
