#include "duilib/UILabel.h"
#include "duilib/UIManager.h"
#include "duilib/UIParse.h"
#include "duilib/UIRect.h"

namespace DuiLib {

namespace {

constexpr UINT kHorizontalAlign = DT_LEFT | DT_CENTER | DT_RIGHT;
constexpr UINT kVerticalAlign = DT_TOP | DT_VCENTER | DT_BOTTOM;

} // namespace

CLabelUI::CLabelUI() = default;

LPCTSTR CLabelUI::GetClass() const { return L"LabelUI"; }

LPVOID CLabelUI::GetInterface(LPCTSTR pstrName) {
    if (pstrName && wcscmp(pstrName, L"Label") == 0) return this;
    return CControlUI::GetInterface(pstrName);
}

void CLabelUI::SetTextStyle(UINT uStyle) { SetLook(m_uTextStyle, uStyle); }
void CLabelUI::SetFont(int index) { SetLook(m_iFont, index); }
void CLabelUI::SetTextColor(DWORD dwColor) { SetLook(m_dwTextColor, dwColor); }
void CLabelUI::SetDisabledTextColor(DWORD dwColor) { SetLook(m_dwDisabledTextColor, dwColor); }

void CLabelUI::SetTextPadding(RECT rc) {
    m_rcTextPadding = rc;
    Invalidate();
}

void CLabelUI::SetShowHtml(bool bShowHtml) { SetLook(m_bShowHtml, bShowHtml); }

DWORD CLabelUI::CurrentTextColor() const {
    if (!IsEnabled()) {
        if (m_dwDisabledTextColor) return m_dwDisabledTextColor;
        return m_pManager ? m_pManager->GetDefaultDisabledColor() : 0xFFA7A6AA;
    }
    if (m_dwTextColor) return m_dwTextColor;
    return m_pManager ? m_pManager->GetDefaultTextColor() : 0xFF000000;
}

UINT CLabelUI::CurrentTextStyle() const { return m_uTextStyle; }

void CLabelUI::DrawLabelText(CCanvas& canvas, const RECT& rcText, LPCTSTR text, DWORD color, UINT style) {
    if (!text || !*text || !m_pManager) return;
    HFONT font = m_pManager->GetFont(m_iFont);
    RECT rc = rcText;
    // GDI centres vertically only single lines; place wrapped text ourselves.
    if (!(style & DT_SINGLELINE) && (style & (DT_VCENTER | DT_BOTTOM))) {
        RECT measure{0, 0, rc.right - rc.left, 0};
        HDC dc = canvas.GetDC();
        HGDIOBJ old = ::SelectObject(dc, font);
        ::DrawTextW(dc, text, -1, &measure, (style & ~kVerticalAlign) | DT_CALCRECT);
        ::SelectObject(dc, old);
        const int textHeight = measure.bottom - measure.top;
        const int room = rc.bottom - rc.top;
        if (textHeight < room) rc.top += (style & DT_BOTTOM) ? room - textHeight : (room - textHeight) / 2;
        style &= ~kVerticalAlign;
    }
    Render::DrawText(canvas, rc, text, color, font, style | DT_NOPREFIX);
}

void CLabelUI::PaintText(CCanvas& canvas) {
    if (m_sText.IsEmpty()) return;
    const RECT rc = ShrinkRect(m_rcItem, m_rcTextPadding);
    if (rc.right <= rc.left || rc.bottom <= rc.top) return;
    DrawLabelText(canvas, rc, m_sText, CurrentTextColor(), CurrentTextStyle());
}

void CLabelUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    using C = CLabelUI;
    static const TAttributeTable<C> table{
        {L"align", [](C& c, LPCTSTR v) {
            UINT s = c.m_uTextStyle & ~kHorizontalAlign;
            if (wcscmp(v, L"center") == 0) s |= DT_CENTER;
            else if (wcscmp(v, L"right") == 0) s |= DT_RIGHT;
            else s |= DT_LEFT;
            c.SetTextStyle(s);
        }},
        {L"valign", [](C& c, LPCTSTR v) {
            UINT s = c.m_uTextStyle & ~kVerticalAlign;
            if (wcscmp(v, L"top") == 0) s |= DT_TOP;
            else if (wcscmp(v, L"bottom") == 0) s |= DT_BOTTOM;
            else s |= DT_VCENTER;   // "vcenter", "center"
            c.SetTextStyle(s);
        }},
        {L"endellipsis", [](C& c, LPCTSTR v) {
            c.SetTextStyle(ParseBool(v) ? c.m_uTextStyle | DT_END_ELLIPSIS : c.m_uTextStyle & ~DT_END_ELLIPSIS);
        }},
        {L"wordbreak", [](C& c, LPCTSTR v) {
            c.SetTextStyle(ParseBool(v) ? (c.m_uTextStyle & ~DT_SINGLELINE) | DT_WORDBREAK
                                        : (c.m_uTextStyle & ~DT_WORDBREAK) | DT_SINGLELINE);
        }},
        {L"font", [](C& c, LPCTSTR v) { int n = -1; if (ParseInt(v, n)) c.SetFont(n); }},
        {L"textcolor", [](C& c, LPCTSTR v) { DWORD d = 0; if (ParseColor(v, d)) c.SetTextColor(d); }},
        {L"disabledtextcolor", [](C& c, LPCTSTR v) { DWORD d = 0; if (ParseColor(v, d)) c.SetDisabledTextColor(d); }},
        {L"textpadding", [](C& c, LPCTSTR v) { RECT rc{}; ParseRect(v, rc); c.SetTextPadding(rc); }},
        {L"showhtml", [](C& c, LPCTSTR v) { c.SetShowHtml(ParseBool(v)); }},
    };
    if (!table.Apply(*this, pstrName, pstrValue)) CControlUI::SetAttribute(pstrName, pstrValue);
}

LPCTSTR CTextUI::GetClass() const { return L"TextUI"; }

LPVOID CTextUI::GetInterface(LPCTSTR pstrName) {
    if (pstrName && wcscmp(pstrName, L"Text") == 0) return this;
    return CLabelUI::GetInterface(pstrName);
}

UINT CTextUI::CurrentTextStyle() const {
    UINT style = m_uTextStyle;
    if (m_sText.Find(L'\n') >= 0) style = (style & ~DT_SINGLELINE) | DT_WORDBREAK;
    return style;
}

} // namespace DuiLib
