#include "duilib/UIControl.h"
#include <algorithm>
#include <cwctype>
#include "duilib/UIManager.h"
#include "duilib/UIParse.h"
#include "duilib/UIRect.h"

namespace DuiLib {

namespace {

int IntOr(LPCTSTR text, int fallback = 0) {
    int v = fallback;
    ParseInt(text, v);
    return v;
}

DWORD ColorOr(LPCTSTR text, DWORD fallback = 0) {
    DWORD c = fallback;
    ParseColor(text, c);
    return c;
}

RECT RectOf(LPCTSTR text) {
    RECT rc{};
    ParseRect(text, rc);
    return rc;
}

SIZE SizeOf(LPCTSTR text) {
    SIZE sz{};
    ParseSize(text, sz);
    return sz;
}

} // namespace

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
    // The manager may still point at us as focus, hot or pressed control.
    if (m_pManager) m_pManager->ForgetControl(this);
}

void CControlUI::SetName(LPCTSTR pstrName) { m_sName = pstrName; }

LPCTSTR CControlUI::GetClass() const { return L"ControlUI"; }

LPVOID CControlUI::GetInterface(LPCTSTR pstrName) {
    if (pstrName && wcscmp(pstrName, L"Control") == 0) return this;
    return nullptr;
}

void CControlUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit) {
    m_pManager = pManager;
    m_pParent = pParent;
    if (bInit && m_pManager) Init();
}

CControlUI* CControlUI::FindControl(FINDCONTROLPROC proc, LPVOID pData, UINT uFlags) {
    if ((uFlags & UIFIND_VISIBLE) && !IsVisible()) return nullptr;
    if ((uFlags & UIFIND_ENABLED) && !IsEnabled()) return nullptr;
    if (uFlags & UIFIND_HITTEST) {
        if (!m_bMouseEnabled || !::PtInRect(&m_rcItem, *static_cast<POINT*>(pData))) return nullptr;
    }
    return proc(this, pData);
}

void CControlUI::Init() {
    if (m_bInited) return;
    m_bInited = true;
    DoInit();
}

void CControlUI::DoInit() {}

CDuiString CControlUI::GetText() const { return m_sText; }

void CControlUI::SetText(LPCTSTR pstrText) {
    if (m_sText == (pstrText ? pstrText : L"")) return;
    m_sText = pstrText;
    Invalidate();
}

void CControlUI::SetToolTip(LPCTSTR pstrText) { m_sToolTip = pstrText; }
void CControlUI::SetUserData(LPCTSTR pstrText) { m_sUserData = pstrText; }

void CControlUI::SetBkColor(DWORD dwColor) { SetLook(m_dwBackColor, dwColor); }
void CControlUI::SetBorderColor(DWORD dwColor) { SetLook(m_dwBorderColor, dwColor); }
void CControlUI::SetBorderSize(int nSize) { SetLook(m_nBorderSize, std::max(0, nSize)); }

void CControlUI::SetBorderRound(SIZE cxyRound) {
    m_cxyBorderRound = cxyRound;
    Invalidate();
}

void CControlUI::SetBkImage(LPCTSTR pStrImage) {
    if (m_sBkImage == (pStrImage ? pStrImage : L"")) return;
    m_sBkImage = pStrImage;
    Invalidate();
}

bool CControlUI::DrawImage(CCanvas& canvas, LPCTSTR pStrImage, const RECT* rc) {
    if (!pStrImage || !*pStrImage) return false;
    return Render::DrawImage(canvas, rc ? *rc : m_rcItem, pStrImage);
}

void CControlUI::SetPos(RECT rc, bool bNeedInvalidate) {
    rc = ClampRect(rc);
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    const bool moved = !::EqualRect(&rc, &m_rcItem);
    if (moved && bNeedInvalidate) Invalidate();   // the old place
    m_rcItem = rc;
    m_bUpdateNeeded = false;
    if (moved && bNeedInvalidate) Invalidate();   // the new place
}

void CControlUI::SetPadding(RECT rcPadding) {
    m_rcPadding = ClampRect(rcPadding);
    NeedParentUpdate();
}

void CControlUI::SetLength(LONG& field, int value) {
    if (value < 0) return;
    field = ClampCoord(value);
    NeedParentUpdate();
}

void CControlUI::SetFixedWidth(int cx) { SetLength(m_cxyFixed.cx, cx); }
void CControlUI::SetFixedHeight(int cy) { SetLength(m_cxyFixed.cy, cy); }
void CControlUI::SetMinWidth(int cx) { SetLength(m_cxyMin.cx, cx); }
void CControlUI::SetMaxWidth(int cx) { SetLength(m_cxyMax.cx, cx); }
void CControlUI::SetMinHeight(int cy) { SetLength(m_cxyMin.cy, cy); }
void CControlUI::SetMaxHeight(int cy) { SetLength(m_cxyMax.cy, cy); }

SIZE CControlUI::EstimateSize(SIZE) { return m_cxyFixed; }

void CControlUI::SetVisible(bool bVisible) {
    if (m_bVisible == bVisible) return;
    if (!bVisible) Invalidate();   // what it covered must be repainted
    m_bVisible = bVisible;
    // A hidden subtree can keep neither focus nor the mouse.
    if (!bVisible && m_pManager) m_pManager->ReleaseInteraction(this);
    NeedParentUpdate();
}

void CControlUI::SetEnabled(bool bEnable) {
    if (m_bEnabled == bEnable) return;
    m_bEnabled = bEnable;
    Invalidate();
}

bool CControlUI::IsFocused() const { return m_pManager && m_pManager->GetFocus() == this; }

void CControlUI::SetFocus() {
    if (m_pManager) m_pManager->SetFocus(this);
}

bool CControlUI::Activate() { return IsVisible() && IsEnabled(); }

void CControlUI::Invalidate() {
    if (!IsVisible() || !m_pManager) return;
    m_pManager->Invalidate(m_rcItem);
}

void CControlUI::NeedUpdate() {
    m_bUpdateNeeded = true;
    if (m_pManager) m_pManager->NeedUpdate();
}

void CControlUI::NeedParentUpdate() {
    if (m_pParent) m_pParent->NeedUpdate();
    else NeedUpdate();
    if (m_pManager) m_pManager->NeedUpdate();
}

void CControlUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
    case UIEvent::SetCursor:
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        return;
    case UIEvent::SetFocus:
    case UIEvent::KillFocus:
        Invalidate();
        return;
    case UIEvent::ContextMenu:
        if (m_bMenuUsed && IsEnabled()) RaiseNotify(DUI_MSGTYPE_MENU, event.wParam, event.lParam);
        return;
    case UIEvent::ScrollWheel:
        // Unclaimed wheel turns go to the enclosing container, which may scroll.
        if (m_pParent) m_pParent->DoEvent(event);
        return;
    default:
        return;
    }
}

void CControlUI::DoPaint(CCanvas& canvas, const RECT& rcPaint) {
    RECT rcDraw;
    if (!::IntersectRect(&rcDraw, &rcPaint, &m_rcItem)) return;
    const RECT saved = canvas.PushClip(rcDraw);
    PaintBkColor(canvas);
    PaintBkImage(canvas);
    PaintStatusImage(canvas);
    PaintText(canvas);
    PaintBorder(canvas);
    canvas.RestoreClip(saved);
}

void CControlUI::PaintBkColor(CCanvas& canvas) {
    if (m_dwBackColor >> 24) Render::FillRect(canvas, m_rcItem, m_dwBackColor);
}

void CControlUI::PaintBkImage(CCanvas& canvas) { DrawImage(canvas, m_sBkImage); }

void CControlUI::PaintStatusImage(CCanvas&) {}

void CControlUI::PaintText(CCanvas&) {}

void CControlUI::PaintBorder(CCanvas& canvas) {
    if (m_nBorderSize > 0 && (m_dwBorderColor >> 24))
        Render::DrawBorder(canvas, m_rcItem, m_nBorderSize, m_dwBorderColor);
}

void CControlUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    using C = CControlUI;
    static const TAttributeTable<C> table{
        {L"name", [](C& c, LPCTSTR v) { c.SetName(v); }},
        {L"text", [](C& c, LPCTSTR v) { c.SetText(v); }},
        {L"tooltip", [](C& c, LPCTSTR v) { c.SetToolTip(v); }},
        {L"userdata", [](C& c, LPCTSTR v) { c.SetUserData(v); }},
        {L"width", [](C& c, LPCTSTR v) { c.SetFixedWidth(IntOr(v)); }},
        {L"height", [](C& c, LPCTSTR v) { c.SetFixedHeight(IntOr(v)); }},
        {L"minwidth", [](C& c, LPCTSTR v) { c.SetMinWidth(IntOr(v)); }},
        {L"maxwidth", [](C& c, LPCTSTR v) { c.SetMaxWidth(IntOr(v)); }},
        {L"minheight", [](C& c, LPCTSTR v) { c.SetMinHeight(IntOr(v)); }},
        {L"maxheight", [](C& c, LPCTSTR v) { c.SetMaxHeight(IntOr(v)); }},
        {L"padding", [](C& c, LPCTSTR v) { c.SetPadding(RectOf(v)); }},
        {L"bkcolor", [](C& c, LPCTSTR v) { c.SetBkColor(ColorOr(v)); }},
        {L"bordercolor", [](C& c, LPCTSTR v) { c.SetBorderColor(ColorOr(v)); }},
        {L"bordersize", [](C& c, LPCTSTR v) { c.SetBorderSize(IntOr(v)); }},
        {L"borderround", [](C& c, LPCTSTR v) { c.SetBorderRound(SizeOf(v)); }},
        {L"bkimage", [](C& c, LPCTSTR v) { c.SetBkImage(v); }},
        {L"visible", [](C& c, LPCTSTR v) { c.SetVisible(ParseBool(v)); }},
        {L"enabled", [](C& c, LPCTSTR v) { c.SetEnabled(ParseBool(v)); }},
        {L"mouse", [](C& c, LPCTSTR v) { c.SetMouseEnabled(ParseBool(v)); }},
        {L"keyboard", [](C& c, LPCTSTR v) { c.SetKeyboardEnabled(ParseBool(v)); }},
        {L"menu", [](C& c, LPCTSTR v) { c.m_bMenuUsed = ParseBool(v); }},
        {L"tag", [](C& c, LPCTSTR v) { c.SetTag(static_cast<UINT_PTR>(IntOr(v))); }},
    };
    table.Apply(*this, pstrName, pstrValue);
}

void CControlUI::ApplyAttributeList(LPCTSTR pstrList) {
    if (!pstrList) return;
    const wchar_t* p = pstrList;
    for (;;) {
        while (*p && iswspace(*p)) ++p;
        if (!*p) return;
        const wchar_t* nameStart = p;
        while (*p && *p != L'=' && !iswspace(*p)) ++p;
        CDuiString name(nameStart, static_cast<int>(p - nameStart));
        while (*p && iswspace(*p)) ++p;
        if (*p != L'=') return;   // malformed: stop rather than guess
        ++p;
        while (*p && iswspace(*p)) ++p;
        const wchar_t quote = *p;
        if (quote != L'"' && quote != L'\'') return;
        ++p;
        const wchar_t* valueStart = p;
        while (*p && *p != quote) ++p;
        CDuiString value(valueStart, static_cast<int>(p - valueStart));
        if (*p) ++p;
        SetAttribute(name, value);
    }
}

void CControlUI::RaiseNotify(LPCTSTR type, WPARAM wParam, LPARAM lParam) {
    if (m_pManager) m_pManager->SendNotify(this, type, wParam, lParam);
}

} // namespace DuiLib
