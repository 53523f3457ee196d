#include "duilib/UIButton.h"
#include <vector>
#include "duilib/UIManager.h"
#include "duilib/UIParse.h"

namespace DuiLib {

CButtonUI::CButtonUI() { m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER; }

LPCTSTR CButtonUI::GetClass() const { return L"ButtonUI"; }

LPVOID CButtonUI::GetInterface(LPCTSTR pstrName) {
    if (pstrName && wcscmp(pstrName, L"Button") == 0) return this;
    return CLabelUI::GetInterface(pstrName);
}

bool CButtonUI::Activate() {
    if (!CLabelUI::Activate()) return false;
    // Last thing we do: the notifier may destroy this button.
    RaiseNotify(DUI_MSGTYPE_CLICK);
    return true;
}

void CButtonUI::SetEnabled(bool bEnable) {
    if (!bEnable) m_state.Reset();
    CLabelUI::SetEnabled(bEnable);
}

void CButtonUI::SetNormalImage(LPCTSTR pStrImage) { m_sNormalImage = pStrImage; Invalidate(); }
void CButtonUI::SetHotImage(LPCTSTR pStrImage) { m_sHotImage = pStrImage; Invalidate(); }
void CButtonUI::SetPushedImage(LPCTSTR pStrImage) { m_sPushedImage = pStrImage; Invalidate(); }
void CButtonUI::SetFocusedImage(LPCTSTR pStrImage) { m_sFocusedImage = pStrImage; Invalidate(); }
void CButtonUI::SetDisabledImage(LPCTSTR pStrImage) { m_sDisabledImage = pStrImage; Invalidate(); }
void CButtonUI::SetForeImage(LPCTSTR pStrImage) { m_sForeImage = pStrImage; Invalidate(); }
void CButtonUI::SetHotForeImage(LPCTSTR pStrImage) { m_sHotForeImage = pStrImage; Invalidate(); }
void CButtonUI::SetHotTextColor(DWORD dwColor) { m_dwHotTextColor = dwColor; Invalidate(); }
void CButtonUI::SetPushedTextColor(DWORD dwColor) { m_dwPushedTextColor = dwColor; Invalidate(); }

void CButtonUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
    case UIEvent::ButtonDown:
    case UIEvent::DblClick:
        if (IsEnabled() && ::PtInRect(&m_rcItem, event.ptMouse) && m_state.Press()) Invalidate();
        return;
    case UIEvent::MouseMove:
        if (m_state.Track(::PtInRect(&m_rcItem, event.ptMouse) != FALSE)) Invalidate();
        return;
    case UIEvent::ButtonUp: {
        if (!m_state.IsCaptured()) return;
        const bool inside = ::PtInRect(&m_rcItem, event.ptMouse) != FALSE;
        m_state.Release();
        Invalidate();
        if (inside) Activate();
        return;
    }
    case UIEvent::CaptureLost:
        if (m_state.Release()) Invalidate();
        return;
    case UIEvent::MouseEnter:
    case UIEvent::MouseLeave:
        if (m_state.SetHot(event.Type == UIEvent::MouseEnter && IsEnabled())) Invalidate();
        return;
    case UIEvent::SetCursor:
        ::SetCursor(::LoadCursorW(nullptr, IsEnabled() ? IDC_HAND : IDC_ARROW));
        return;
    default:
        CLabelUI::DoEvent(event);
        return;
    }
}

DWORD CButtonUI::CurrentTextColor() const {
    if (IsEnabled()) {
        if (m_state.IsPushed() && m_dwPushedTextColor) return m_dwPushedTextColor;
        if (m_state.IsHot() && m_dwHotTextColor) return m_dwHotTextColor;
    }
    return CLabelUI::CurrentTextColor();
}

void CButtonUI::PaintStatusImage(CCanvas& canvas) {
    const CDuiString* face = &m_sNormalImage;
    if (!IsEnabled()) {
        if (!m_sDisabledImage.IsEmpty()) face = &m_sDisabledImage;
    } else if (m_state.IsPushed()) {
        if (!m_sPushedImage.IsEmpty()) face = &m_sPushedImage;
        else if (!m_sHotImage.IsEmpty()) face = &m_sHotImage;
    } else if (m_state.IsHot()) {
        if (!m_sHotImage.IsEmpty()) face = &m_sHotImage;
    } else if (IsFocused() && !m_sFocusedImage.IsEmpty()) {
        face = &m_sFocusedImage;
    }
    DrawImage(canvas, *face);
    const bool hot = m_state.IsHot() || m_state.IsPushed();
    DrawImage(canvas, hot && !m_sHotForeImage.IsEmpty() ? m_sHotForeImage : m_sForeImage);
}

void CButtonUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    using C = CButtonUI;
    static const TAttributeTable<C> table{
        {L"normalimage", [](C& c, LPCTSTR v) { c.SetNormalImage(v); }},
        {L"hotimage", [](C& c, LPCTSTR v) { c.SetHotImage(v); }},
        {L"pushedimage", [](C& c, LPCTSTR v) { c.SetPushedImage(v); }},
        {L"focusedimage", [](C& c, LPCTSTR v) { c.SetFocusedImage(v); }},
        {L"disabledimage", [](C& c, LPCTSTR v) { c.SetDisabledImage(v); }},
        {L"foreimage", [](C& c, LPCTSTR v) { c.SetForeImage(v); }},
        {L"hotforeimage", [](C& c, LPCTSTR v) { c.SetHotForeImage(v); }},
        {L"hottextcolor", [](C& c, LPCTSTR v) { DWORD d = 0; if (ParseColor(v, d)) c.SetHotTextColor(d); }},
        {L"pushedtextcolor", [](C& c, LPCTSTR v) { DWORD d = 0; if (ParseColor(v, d)) c.SetPushedTextColor(d); }},
    };
    if (!table.Apply(*this, pstrName, pstrValue)) CLabelUI::SetAttribute(pstrName, pstrValue);
}

// ---- Option

namespace {

struct GroupSearch {
    const wchar_t* group;
    std::vector<COptionUI*> members;
};

CControlUI* CollectGroup(CControlUI* control, void* data) {
    auto* search = static_cast<GroupSearch*>(data);
    if (auto* option = static_cast<COptionUI*>(control->GetInterface(L"Option"))) {
        if (wcscmp(option->GetGroup(), search->group) == 0) search->members.push_back(option);
    }
    return nullptr;   // visit everything
}

} // namespace

COptionUI::~COptionUI() = default;

LPCTSTR COptionUI::GetClass() const { return L"OptionUI"; }

LPVOID COptionUI::GetInterface(LPCTSTR pstrName) {
    if (pstrName && wcscmp(pstrName, L"Option") == 0) return this;
    return CButtonUI::GetInterface(pstrName);
}

void COptionUI::SetGroup(LPCTSTR pStrGroupName) { m_sGroupName = pStrGroupName; }
void COptionUI::SetSelectedImage(LPCTSTR pStrImage) { m_sSelectedImage = pStrImage; Invalidate(); }
void COptionUI::SetSelectedHotImage(LPCTSTR pStrImage) { m_sSelectedHotImage = pStrImage; Invalidate(); }
void COptionUI::SetSelectedTextColor(DWORD dwColor) { m_dwSelectedTextColor = dwColor; Invalidate(); }

void COptionUI::Selected(bool bSelected) {
    if (m_bSelected == bSelected) return;
    m_bSelected = bSelected;
    Invalidate();
    if (bSelected && !m_sGroupName.IsEmpty() && m_pManager && m_pManager->GetRoot()) {
        GroupSearch search{m_sGroupName.GetData(), {}};
        m_pManager->GetRoot()->FindControl(CollectGroup, &search, UIFIND_ALL);
        for (COptionUI* other : search.members) {
            if (other != this) other->Selected(false);
        }
    }
    RaiseNotify(DUI_MSGTYPE_SELECTCHANGED);
}

bool COptionUI::Activate() {
    if (!CButtonUI::Activate()) return false;
    if (!m_sGroupName.IsEmpty()) Selected(true);
    else Selected(!m_bSelected);
    return true;
}

DWORD COptionUI::CurrentTextColor() const {
    if (m_bSelected && m_dwSelectedTextColor && IsEnabled()) return m_dwSelectedTextColor;
    return CButtonUI::CurrentTextColor();
}

void COptionUI::PaintStatusImage(CCanvas& canvas) {
    if (m_bSelected && !m_sSelectedImage.IsEmpty()) {
        const bool hot = m_state.IsHot();
        DrawImage(canvas, hot && !m_sSelectedHotImage.IsEmpty() ? m_sSelectedHotImage : m_sSelectedImage);
        DrawImage(canvas, m_sForeImage);
        return;
    }
    CButtonUI::PaintStatusImage(canvas);
}

void COptionUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    using C = COptionUI;
    static const TAttributeTable<C> table{
        {L"group", [](C& c, LPCTSTR v) { c.SetGroup(v); }},
        {L"selected", [](C& c, LPCTSTR v) { c.Selected(ParseBool(v)); }},
        {L"selectedimage", [](C& c, LPCTSTR v) { c.SetSelectedImage(v); }},
        {L"selectedhotimage", [](C& c, LPCTSTR v) { c.SetSelectedHotImage(v); }},
        {L"selectedtextcolor", [](C& c, LPCTSTR v) { DWORD d = 0; if (ParseColor(v, d)) c.SetSelectedTextColor(d); }},
    };
    if (!table.Apply(*this, pstrName, pstrValue)) CButtonUI::SetAttribute(pstrName, pstrValue);
}

} // namespace DuiLib
