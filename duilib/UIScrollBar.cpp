#include "duilib/UIScrollBar.h"
#include <algorithm>
#include "duilib/UIContainer.h"
#include "duilib/UIManager.h"
#include "duilib/UIParse.h"

namespace DuiLib {

namespace {

constexpr int kDefaultThickness = 16;
constexpr UINT kRepeatTimer = 1;
constexpr UINT kRepeatDelay = 350;   // first repeat
constexpr UINT kRepeatPeriod = 50;

enum Part { PartBk, PartButton1, PartButton2, PartThumb, PartRail };
enum State { StateNormal, StateHot, StatePushed, StateDisabled };

const wchar_t* const kPartNames[] = {L"bk", L"button1", L"button2", L"thumb", L"rail"};
const wchar_t* const kStateNames[] = {L"normal", L"hot", L"pushed", L"disabled"};

int StateIndex(UINT state, bool enabled) {
    if (!enabled) return StateDisabled;
    if (state & UISTATE_PUSHED) return StatePushed;
    if (state & UISTATE_HOT) return StateHot;
    return StateNormal;
}

} // namespace

CScrollBarUI::CScrollBarUI() {
    m_cxyFixed.cx = kDefaultThickness;
    m_bKeyboardEnabled = false;   // clicking a bar must not take focus from the list
}

CScrollBarUI::~CScrollBarUI() {
    if (m_pManager) m_pManager->KillTimer(this);
}

LPCTSTR CScrollBarUI::GetClass() const { return L"ScrollBarUI"; }

LPVOID CScrollBarUI::GetInterface(LPCTSTR pstrName) {
    if (pstrName && wcscmp(pstrName, L"ScrollBar") == 0) return this;
    return CControlUI::GetInterface(pstrName);
}

void CScrollBarUI::SetHorizontal(bool bHorizontal) {
    if (m_bHorizontal == bHorizontal) return;
    m_bHorizontal = bHorizontal;
    if (bHorizontal) {
        if (m_cxyFixed.cy == 0) m_cxyFixed.cy = m_cxyFixed.cx ? m_cxyFixed.cx : kDefaultThickness;
        m_cxyFixed.cx = 0;
    } else {
        if (m_cxyFixed.cx == 0) m_cxyFixed.cx = m_cxyFixed.cy ? m_cxyFixed.cy : kDefaultThickness;
        m_cxyFixed.cy = 0;
    }
    NeedParentUpdate();
}

void CScrollBarUI::SetScrollRange(int nRange) {
    nRange = std::max(0, nRange);
    if (m_nRange == nRange) return;
    m_nRange = nRange;
    m_nScrollPos = std::min(m_nScrollPos, m_nRange);
    LayoutThumb();
    Invalidate();
}

void CScrollBarUI::SetScrollPos(int nPos) {
    nPos = std::max(0, std::min(nPos, m_nRange));
    if (m_nScrollPos == nPos) return;
    m_nScrollPos = nPos;
    LayoutThumb();
    Invalidate();
}

void CScrollBarUI::SetLineSize(int nSize) {
    if (nSize > 0) m_nLineSize = nSize;
}

void CScrollBarUI::SetPageSize(int nSize) {
    nSize = std::max(0, nSize);
    if (m_nPageSize == nSize) return;
    m_nPageSize = nSize;
    LayoutThumb();
}

void CScrollBarUI::SetShowButton1(bool bShow) {
    m_bShowButton1 = bShow;
    LayoutThumb();
    Invalidate();
}

void CScrollBarUI::SetShowButton2(bool bShow) {
    m_bShowButton2 = bShow;
    LayoutThumb();
    Invalidate();
}

void CScrollBarUI::SetPos(RECT rc, bool bNeedInvalidate) {
    CControlUI::SetPos(rc, bNeedInvalidate);
    LayoutThumb();
}

void CScrollBarUI::LayoutThumb() {
    const RECT rc = m_rcItem;
    // Along the bar from start to end, and its thickness across.
    const LONG start = m_bHorizontal ? rc.left : rc.top;
    const LONG end = m_bHorizontal ? rc.right : rc.bottom;
    const LONG thickness = m_bHorizontal ? rc.bottom - rc.top : rc.right - rc.left;
    auto span = [&](LONG from, LONG to) {
        return m_bHorizontal ? RECT{from, rc.top, to, rc.bottom} : RECT{rc.left, from, rc.right, to};
    };
    // Buttons are squares at both ends; the thumb moves in the track between them.
    const LONG side = std::min(thickness, (end - start) / 2);
    const LONG track0 = m_bShowButton1 ? start + side : start;
    const LONG track1 = m_bShowButton2 ? end - side : end;
    m_rcButton1 = span(start, track0);
    m_rcButton2 = span(track1, end);
    const int trackLen = std::max(0, static_cast<int>(track1 - track0));
    int thumbLen = trackLen;
    if (m_nRange > 0) {
        const int64_t total = int64_t{m_nRange} + std::max(1, m_nPageSize);
        thumbLen = static_cast<int>(static_cast<long long>(trackLen) * std::max(1, m_nPageSize) / total);
        thumbLen = std::max(thumbLen, std::min(trackLen, static_cast<int>(thickness)));
    }
    const int travel = trackLen - thumbLen;
    const int offset = m_nRange > 0 ? static_cast<int>(static_cast<long long>(travel) * m_nScrollPos / m_nRange) : 0;
    m_rcThumb = span(track0 + offset, track0 + offset + thumbLen);
}

void CScrollBarUI::ScrollTo(int nPos) {
    nPos = std::max(0, std::min(nPos, m_nRange));
    if (m_pOwner) {
        SIZE sz = m_pOwner->GetScrollPos();
        (m_bHorizontal ? sz.cx : sz.cy) = nPos;
        m_pOwner->SetScrollPos(sz);
        return;
    }
    if (nPos == m_nScrollPos) return;
    SetScrollPos(nPos);
    RaiseNotify(DUI_MSGTYPE_SCROLL, static_cast<WPARAM>(nPos));
}

void CScrollBarUI::StartRepeat(int nDirection) {
    m_nRepeat = nDirection;
    if (m_pManager) m_pManager->SetTimer(this, kRepeatTimer, kRepeatDelay);
}

void CScrollBarUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
    case UIEvent::ButtonDown:
    case UIEvent::DblClick:
        if (IsEnabled()) OnPress(event.ptMouse);
        return;
    case UIEvent::ButtonUp:
    case UIEvent::CaptureLost:
        OnRelease();
        return;
    case UIEvent::MouseMove:
        OnMouseMove(event.ptMouse);
        return;
    case UIEvent::MouseEnter:
        m_rail.SetHot(true);
        Invalidate();
        return;
    case UIEvent::MouseLeave:
        for (CPressState* part : {&m_rail, &m_button1, &m_button2, &m_thumb}) part->SetHot(false);
        Invalidate();
        return;
    case UIEvent::Timer:
        if (event.wParam == kRepeatTimer) OnRepeatTimer();
        return;
    default:
        CControlUI::DoEvent(event);
        return;
    }
}

// An arrow steps a line and a press on the track a page, both repeating while held;
// the thumb is dragged.
void CScrollBarUI::OnPress(POINT pt) {
    if (::PtInRect(&m_rcButton1, pt)) {
        m_button1.SetPushed(true);
        ScrollTo(m_nScrollPos - m_nLineSize);
        StartRepeat(-1);
    } else if (::PtInRect(&m_rcButton2, pt)) {
        m_button2.SetPushed(true);
        ScrollTo(m_nScrollPos + m_nLineSize);
        StartRepeat(1);
    } else if (::PtInRect(&m_rcThumb, pt)) {
        m_thumb.Press();
        m_ptDragStart = pt;
        m_nDragStartPos = m_nScrollPos;
    } else {
        const bool before = m_bHorizontal ? pt.x < m_rcThumb.left : pt.y < m_rcThumb.top;
        ScrollTo(m_nScrollPos + (before ? -PageStep() : PageStep()));
        StartRepeat(before ? -2 : 2);
    }
    Invalidate();
}

void CScrollBarUI::OnRelease() {
    m_button1.SetPushed(false);
    m_button2.SetPushed(false);
    m_thumb.Release();
    m_nRepeat = 0;
    if (m_pManager) m_pManager->KillTimer(this, kRepeatTimer);
    Invalidate();
}

void CScrollBarUI::OnMouseMove(POINT pt) {
    if (m_thumb.IsCaptured()) {
        const int travel = m_bHorizontal ? (m_rcButton2.left - m_rcButton1.right) - (m_rcThumb.right - m_rcThumb.left)
                                         : (m_rcButton2.top - m_rcButton1.bottom) - (m_rcThumb.bottom - m_rcThumb.top);
        if (travel > 0) {
            const int delta = m_bHorizontal ? pt.x - m_ptDragStart.x : pt.y - m_ptDragStart.y;
            ScrollTo(m_nDragStartPos + static_cast<int>(static_cast<long long>(delta) * m_nRange / travel));
        }
        return;
    }
    // Hot follows the pointer over the parts.
    bool changed = m_button1.SetHot(::PtInRect(&m_rcButton1, pt) != FALSE);
    changed = m_button2.SetHot(::PtInRect(&m_rcButton2, pt) != FALSE) || changed;
    changed = m_thumb.SetHot(::PtInRect(&m_rcThumb, pt) != FALSE) || changed;
    if (changed) Invalidate();
}

void CScrollBarUI::OnRepeatTimer() {
    if (!m_pManager) return;
    if (m_nRepeat == 0) {
        m_pManager->KillTimer(this, kRepeatTimer);
        return;
    }
    m_pManager->SetTimer(this, kRepeatTimer, kRepeatPeriod);
    if (m_nRepeat == -1 || m_nRepeat == 1) {
        ScrollTo(m_nScrollPos + m_nRepeat * m_nLineSize);
        return;
    }
    // Paging stops once the thumb reaches the pointer.
    const POINT cur = m_pManager->GetMousePos();
    const bool before = m_bHorizontal ? cur.x < m_rcThumb.left : cur.y < m_rcThumb.top;
    const bool after = m_bHorizontal ? cur.x >= m_rcThumb.right : cur.y >= m_rcThumb.bottom;
    if (m_nRepeat < 0 && before) ScrollTo(m_nScrollPos - PageStep());
    if (m_nRepeat > 0 && after) ScrollTo(m_nScrollPos + PageStep());
}

void CScrollBarUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    if (!pstrName) return;
    // <part><state>image
    const size_t len = wcslen(pstrName);
    if (len > 5 && wcscmp(pstrName + len - 5, L"image") == 0) {
        for (int part = 0; part < 5; ++part) {
            const size_t pl = wcslen(kPartNames[part]);
            if (wcsncmp(pstrName, kPartNames[part], pl) != 0) continue;
            for (int state = 0; state < 4; ++state) {
                const size_t sl = wcslen(kStateNames[state]);
                if (pl + sl + 5 == len && wcsncmp(pstrName + pl, kStateNames[state], sl) == 0) {
                    m_sImages[part][state] = pstrValue;
                    Invalidate();
                    return;
                }
            }
        }
    }
    using C = CScrollBarUI;
    static const TAttributeTable<C> table{
        {L"hor", [](C& c, LPCTSTR v) { c.SetHorizontal(ParseBool(v)); }},
        {L"horizontal", [](C& c, LPCTSTR v) { c.SetHorizontal(ParseBool(v)); }},
        {L"linesize", [](C& c, LPCTSTR v) { int n = 0; if (ParseInt(v, n)) c.SetLineSize(n); }},
        {L"range", [](C& c, LPCTSTR v) { int n = 0; if (ParseInt(v, n)) c.SetScrollRange(n); }},
        {L"value", [](C& c, LPCTSTR v) { int n = 0; if (ParseInt(v, n)) c.SetScrollPos(n); }},
        {L"showbutton1", [](C& c, LPCTSTR v) { c.SetShowButton1(ParseBool(v)); }},
        {L"showbutton2", [](C& c, LPCTSTR v) { c.SetShowButton2(ParseBool(v)); }},
    };
    if (!table.Apply(*this, pstrName, pstrValue)) CControlUI::SetAttribute(pstrName, pstrValue);
}

void CScrollBarUI::PaintPart(CCanvas& canvas, const RECT& rc, int part, UINT state) {
    if (rc.right <= rc.left || rc.bottom <= rc.top) return;
    const int s = StateIndex(state, IsEnabled());
    const CDuiString& image = !m_sImages[part][s].IsEmpty() ? m_sImages[part][s] : m_sImages[part][StateNormal];
    if (!image.IsEmpty()) {
        DrawImage(canvas, image, &rc);
        return;
    }
    // Without a skin the bar still shows where it is.
    if (part == PartThumb) Render::FillRect(canvas, rc, s == StatePushed ? 0xFF808080 : s == StateHot ? 0xFF999999 : 0xFFB4B4B4);
    if (part == PartButton1 || part == PartButton2) Render::FillRect(canvas, rc, s == StatePushed ? 0xFFB4B4B4 : 0xFFD4D4D4);
}

void CScrollBarUI::PaintBkImage(CCanvas& canvas) {
    const int s = StateIndex(m_rail.Bits(), IsEnabled());
    const CDuiString& image = !m_sImages[PartBk][s].IsEmpty() ? m_sImages[PartBk][s] : m_sImages[PartBk][StateNormal];
    if (!image.IsEmpty()) DrawImage(canvas, image);
    else if (m_sBkImage.IsEmpty() && !(m_dwBackColor >> 24)) Render::FillRect(canvas, m_rcItem, 0xFFF0F0F0);
    CControlUI::PaintBkImage(canvas);
}

void CScrollBarUI::PaintStatusImage(CCanvas& canvas) {
    RECT rail = m_rcItem;
    if (m_bHorizontal) {
        rail.left = m_rcButton1.right;
        rail.right = m_rcButton2.left;
    } else {
        rail.top = m_rcButton1.bottom;
        rail.bottom = m_rcButton2.top;
    }
    PaintPart(canvas, rail, PartRail, m_rail.Bits());
    if (m_bShowButton1) PaintPart(canvas, m_rcButton1, PartButton1, m_button1.Bits());
    if (m_bShowButton2) PaintPart(canvas, m_rcButton2, PartButton2, m_button2.Bits());
    if (m_nRange > 0) PaintPart(canvas, m_rcThumb, PartThumb, m_thumb.Bits());
}

} // namespace DuiLib
