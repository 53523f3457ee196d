#include "duilib/UIProgress.h"
#include <algorithm>
#include <cmath>
#include "duilib/UIManager.h"
#include "duilib/UIParse.h"
#include "duilib/UIResource.h"

namespace DuiLib {

CProgressUI::CProgressUI() { m_uTextStyle = DT_SINGLELINE | DT_CENTER | DT_VCENTER; }

LPCTSTR CProgressUI::GetClass() const { return L"ProgressUI"; }

LPVOID CProgressUI::GetInterface(LPCTSTR pstrName) {
    if (pstrName && wcscmp(pstrName, L"Progress") == 0) return this;
    return CLabelUI::GetInterface(pstrName);
}

void CProgressUI::SetHorizontal(bool bHorizontal) { SetLook(m_bHorizontal, bHorizontal); }

void CProgressUI::SetMinValue(int nMin) {
    m_nMin = nMin;
    if (m_nMax < m_nMin) m_nMax = m_nMin;
    SetValue(m_nValue);
    Invalidate();
}

void CProgressUI::SetMaxValue(int nMax) {
    m_nMax = nMax;
    if (m_nMin > m_nMax) m_nMin = m_nMax;
    SetValue(m_nValue);
    Invalidate();
}

void CProgressUI::SetValue(int nValue) {
    nValue = std::max(m_nMin, std::min(nValue, m_nMax));
    if (m_nValue == nValue) return;
    m_nValue = nValue;
    Invalidate();
}

void CProgressUI::SetForeImage(LPCTSTR pStrImage) {
    m_sForeImage = pStrImage;
    Invalidate();
}

RECT CProgressUI::FilledRect() const {
    RECT rc = m_rcItem;
    const long long range = static_cast<long long>(m_nMax) - m_nMin;
    const long long done = static_cast<long long>(m_nValue) - m_nMin;
    if (m_bHorizontal) {
        const long long w = rc.right - rc.left;
        rc.right = rc.left + static_cast<LONG>(range > 0 ? w * done / range : 0);
    } else {
        const long long h = rc.bottom - rc.top;
        rc.top = rc.bottom - static_cast<LONG>(range > 0 ? h * done / range : 0);
    }
    return rc;
}

void CProgressUI::PaintStatusImage(CCanvas& canvas) {
    if (m_sForeImage.IsEmpty()) return;
    const RECT fill = FilledRect();
    if (fill.right <= fill.left || fill.bottom <= fill.top) return;
    TImageDesc desc;
    if (!ParseImageDesc(m_sForeImage, desc)) return;
    // Only the filled part shows: placed there, with the image cut to the same share.
    // A nine-patch image stretches into it instead, so its end caps stay whole.
    desc.dest = {fill.left - m_rcItem.left, fill.top - m_rcItem.top, fill.right - m_rcItem.left, fill.bottom - m_rcItem.top};
    desc.hasDest = true;
    if (!desc.hasCorner) {
        RECT src = desc.source;
        if (!desc.hasSource) {
            auto image = CImageCache::Get(desc.file);
            if (!image) return;
            src = {0, 0, image->width, image->height};
        }
        const long long total = m_bHorizontal ? m_rcItem.right - m_rcItem.left : m_rcItem.bottom - m_rcItem.top;
        const long long shown = m_bHorizontal ? fill.right - fill.left : fill.bottom - fill.top;
        if (total <= 0) return;
        if (m_bHorizontal) src.right = src.left + static_cast<LONG>((src.right - src.left) * shown / total);
        else src.top = src.bottom - static_cast<LONG>((src.bottom - src.top) * shown / total);
        desc.source = src;
        desc.hasSource = true;
    }
    Render::DrawImage(canvas, m_rcItem, desc);
}

void CProgressUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    using C = CProgressUI;
    static const TAttributeTable<C> table{
        {L"hor", [](C& c, LPCTSTR v) { c.SetHorizontal(ParseBool(v)); }},
        {L"horizontal", [](C& c, LPCTSTR v) { c.SetHorizontal(ParseBool(v)); }},
        {L"min", [](C& c, LPCTSTR v) {
            int n = 0;
            if (!ParseInt(v, n)) return;
            c.SetMinValue(n);
            if (c.m_bHasAttrValue) c.SetValue(c.m_nAttrValue);
        }},
        {L"max", [](C& c, LPCTSTR v) {
            int n = 0;
            if (!ParseInt(v, n)) return;
            c.SetMaxValue(n);
            if (c.m_bHasAttrValue) c.SetValue(c.m_nAttrValue);
        }},
        {L"value", [](C& c, LPCTSTR v) {
            int n = 0;
            if (!ParseInt(v, n)) return;
            c.m_bHasAttrValue = true;
            c.m_nAttrValue = n;
            c.SetValue(n);
        }},
        {L"foreimage", [](C& c, LPCTSTR v) { c.SetForeImage(v); }},
    };
    if (!table.Apply(*this, pstrName, pstrValue)) CLabelUI::SetAttribute(pstrName, pstrValue);
}

// ---- Slider

CSliderUI::CSliderUI() = default;

LPCTSTR CSliderUI::GetClass() const { return L"SliderUI"; }

LPVOID CSliderUI::GetInterface(LPCTSTR pstrName) {
    if (pstrName && wcscmp(pstrName, L"Slider") == 0) return this;
    return CProgressUI::GetInterface(pstrName);
}

void CSliderUI::SetChangeStep(int step) {
    if (step > 0) m_nStep = step;
}

void CSliderUI::SetThumbSize(SIZE szXY) {
    m_szThumb = szXY;
    Invalidate();
}

void CSliderUI::SetThumbImage(LPCTSTR pStrImage) { m_sThumbImage = pStrImage; Invalidate(); }
void CSliderUI::SetThumbHotImage(LPCTSTR pStrImage) { m_sThumbHotImage = pStrImage; Invalidate(); }
void CSliderUI::SetThumbPushedImage(LPCTSTR pStrImage) { m_sThumbPushedImage = pStrImage; Invalidate(); }

void CSliderUI::SetEnabled(bool bEnable) {
    if (!bEnable) m_thumb.Reset();
    CProgressUI::SetEnabled(bEnable);
}

RECT CSliderUI::GetThumbRect() const {
    const RECT& rc = m_rcItem;
    const long long range = static_cast<long long>(m_nMax) - m_nMin;
    const long long done = static_cast<long long>(m_nValue) - m_nMin;
    if (m_bHorizontal) {
        const long long travel = std::max(0L, (rc.right - rc.left) - m_szThumb.cx);
        const LONG left = rc.left + static_cast<LONG>(range > 0 ? travel * done / range : 0);
        const LONG top = rc.top + ((rc.bottom - rc.top) - m_szThumb.cy) / 2;
        return {left, top, left + m_szThumb.cx, top + m_szThumb.cy};
    }
    const long long travel = std::max(0L, (rc.bottom - rc.top) - m_szThumb.cy);
    const LONG bottom = rc.bottom - static_cast<LONG>(range > 0 ? travel * done / range : 0);
    const LONG left = rc.left + ((rc.right - rc.left) - m_szThumb.cx) / 2;
    return {left, bottom - m_szThumb.cy, left + m_szThumb.cx, bottom};
}

int CSliderUI::ValueAtPoint(POINT pt) const {
    if (m_bHorizontal)
        pt.x -= m_nGrabOffset;
    else
        pt.y -= m_nGrabOffset;
    return ValueUnder(pt);
}

int CSliderUI::ValueUnder(POINT pt) const {
    const RECT& rc = m_rcItem;
    const double range = static_cast<double>(m_nMax) - m_nMin;
    double travel;
    double offset;
    if (m_bHorizontal) {
        travel = (rc.right - rc.left) - m_szThumb.cx;
        offset = pt.x - (rc.left + m_szThumb.cx / 2.0);
    } else {
        travel = (rc.bottom - rc.top) - m_szThumb.cy;
        offset = (rc.bottom - m_szThumb.cy / 2.0) - pt.y;
    }
    if (travel <= 0 || range <= 0) return m_nMin;
    const double value = m_nMin + std::lround(offset * range / travel);
    return static_cast<int>(std::max<double>(m_nMin, std::min<double>(value, m_nMax)));
}

void CSliderUI::ChangeByKey(int nValue) {
    const int before = m_nValue;
    SetValue(nValue);
    if (m_nValue != before) RaiseNotify(DUI_MSGTYPE_VALUECHANGED);
}

void CSliderUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
    case UIEvent::ButtonDown:
    case UIEvent::DblClick: {
        if (!IsEnabled()) return;
        const RECT thumb = GetThumbRect();
        if (::PtInRect(&thumb, event.ptMouse)) {
            // Keep the spot where the thumb was grabbed under the pointer.
            m_nGrabOffset = m_bHorizontal ? event.ptMouse.x - (thumb.left + thumb.right) / 2
                                          : event.ptMouse.y - (thumb.top + thumb.bottom) / 2;
        } else {
            m_nGrabOffset = 0;
            SetValue(ValueAtPoint(event.ptMouse));
        }
        m_thumb.Press();
        Invalidate();
        return;
    }
    case UIEvent::MouseMove:
        if (m_thumb.IsCaptured()) {
            SetValue(ValueAtPoint(event.ptMouse));
        } else if (IsEnabled()) {
            const RECT thumb = GetThumbRect();
            if (m_thumb.SetHot(::PtInRect(&thumb, event.ptMouse) != FALSE)) Invalidate();
        }
        return;
    case UIEvent::ButtonUp:
    case UIEvent::CaptureLost:
        if (m_thumb.IsCaptured()) {
            m_thumb.Release();
            if (event.Type == UIEvent::ButtonUp) SetValue(ValueAtPoint(event.ptMouse));
            m_nGrabOffset = 0;
            Invalidate();
            // Reported once, when the user lets go (also when capture was taken away,
            // as the value already moved).
            RaiseNotify(DUI_MSGTYPE_VALUECHANGED);
        }
        return;
    case UIEvent::MouseLeave:
        if (m_thumb.SetHot(false)) Invalidate();
        return;
    case UIEvent::KeyDown:
        if (!IsEnabled()) return;
        switch (event.chKey) {
        case VK_LEFT:
        case VK_DOWN: ChangeByKey(m_nValue - m_nStep); return;
        case VK_RIGHT:
        case VK_UP: ChangeByKey(m_nValue + m_nStep); return;
        case VK_HOME: ChangeByKey(m_nMin); return;
        case VK_END: ChangeByKey(m_nMax); return;
        default: break;
        }
        break;
    case UIEvent::ScrollWheel:
        if (!IsEnabled()) return;
        ChangeByKey(m_nValue + (event.wParam == SB_LINEUP ? m_nStep : -m_nStep));
        return;
    default:
        break;
    }
    CProgressUI::DoEvent(event);
}

void CSliderUI::PaintStatusImage(CCanvas& canvas) {
    CProgressUI::PaintStatusImage(canvas);
    const RECT thumb = GetThumbRect();
    const CDuiString* face = &m_sThumbImage;
    if (m_thumb.IsPushed() && !m_sThumbPushedImage.IsEmpty()) face = &m_sThumbPushedImage;
    else if ((m_thumb.IsHot() || m_thumb.IsPushed()) && !m_sThumbHotImage.IsEmpty()) face = &m_sThumbHotImage;
    if (face->IsEmpty()) {
        // An unskinned slider still shows its thumb.
        Render::FillRect(canvas, thumb, m_thumb.IsPushed() ? 0xFF707070 : 0xFF9A9A9A);
        return;
    }
    DrawImage(canvas, *face, &thumb);
}

void CSliderUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    using C = CSliderUI;
    static const TAttributeTable<C> table{
        {L"thumbsize", [](C& c, LPCTSTR v) { SIZE sz{}; if (ParseSize(v, sz)) c.SetThumbSize(sz); }},
        {L"thumbimage", [](C& c, LPCTSTR v) { c.SetThumbImage(v); }},
        {L"thumbhotimage", [](C& c, LPCTSTR v) { c.SetThumbHotImage(v); }},
        {L"thumbpushedimage", [](C& c, LPCTSTR v) { c.SetThumbPushedImage(v); }},
        {L"step", [](C& c, LPCTSTR v) { int n = 0; if (ParseInt(v, n)) c.SetChangeStep(n); }},
        {L"interval", [](C& c, LPCTSTR v) { int n = 0; if (ParseInt(v, n)) c.SetChangeStep(n); }},
    };
    if (!table.Apply(*this, pstrName, pstrValue)) CProgressUI::SetAttribute(pstrName, pstrValue);
}

} // namespace DuiLib
