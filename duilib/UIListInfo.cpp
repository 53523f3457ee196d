#include "duilib/UIListInfo.h"
#include <algorithm>
#include "duilib/UIAttributes.h"
#include "duilib/UIContainer.h"
#include "duilib/UIParse.h"

namespace DuiLib {

namespace {

constexpr UINT kHorizontalAlign = DT_LEFT | DT_CENTER | DT_RIGHT;
constexpr UINT kVerticalAlign = DT_TOP | DT_VCENTER | DT_BOTTOM;

void SetColor(DWORD& target, LPCTSTR v) {
    DWORD c = 0;
    if (ParseColor(v, c)) target = c;
}

} // namespace

bool ApplyListInfoAttribute(TListInfoUI& info, LPCTSTR pstrName, LPCTSTR pstrValue) {
    using I = TListInfoUI;
    static const TAttributeTable<I> table{
        {L"itemfont", [](I& i, LPCTSTR v) { int n = -1; if (ParseInt(v, n)) i.nFont = n; }},
        {L"itemalign", [](I& i, LPCTSTR v) {
            i.uTextStyle &= ~kHorizontalAlign;
            if (wcscmp(v, L"center") == 0) i.uTextStyle |= DT_CENTER;
            else if (wcscmp(v, L"right") == 0) i.uTextStyle |= DT_RIGHT;
            else i.uTextStyle |= DT_LEFT;
        }},
        {L"itemvalign", [](I& i, LPCTSTR v) {
            i.uTextStyle &= ~kVerticalAlign;
            if (wcscmp(v, L"top") == 0) i.uTextStyle |= DT_TOP;
            else if (wcscmp(v, L"bottom") == 0) i.uTextStyle |= DT_BOTTOM;
            else i.uTextStyle |= DT_VCENTER;
        }},
        {L"itemendellipsis", [](I& i, LPCTSTR v) {
            if (ParseBool(v)) i.uTextStyle |= DT_END_ELLIPSIS;
            else i.uTextStyle &= ~static_cast<UINT>(DT_END_ELLIPSIS);
        }},
        {L"itemtextpadding", [](I& i, LPCTSTR v) { RECT rc{}; ParseRect(v, rc); i.rcTextPadding = rc; }},
        {L"itemtextcolor", [](I& i, LPCTSTR v) { SetColor(i.dwTextColor, v); }},
        {L"itembkcolor", [](I& i, LPCTSTR v) { SetColor(i.dwBkColor, v); }},
        {L"itembkimage", [](I& i, LPCTSTR v) { i.sBkImage = v; }},
        {L"itemaltbk", [](I& i, LPCTSTR v) { i.bAlternateBk = ParseBool(v); }},
        {L"itemaltbkcolor", [](I& i, LPCTSTR v) { SetColor(i.dwAltBkColor, v); }},
        {L"itemselectedtextcolor", [](I& i, LPCTSTR v) { SetColor(i.dwSelectedTextColor, v); }},
        {L"itemselectedbkcolor", [](I& i, LPCTSTR v) { SetColor(i.dwSelectedBkColor, v); }},
        {L"itemselectedimage", [](I& i, LPCTSTR v) { i.sSelectedImage = v; }},
        {L"itemhottextcolor", [](I& i, LPCTSTR v) { SetColor(i.dwHotTextColor, v); }},
        {L"itemhotbkcolor", [](I& i, LPCTSTR v) { SetColor(i.dwHotBkColor, v); }},
        {L"itemhotimage", [](I& i, LPCTSTR v) { i.sHotImage = v; }},
        {L"itemdisabledtextcolor", [](I& i, LPCTSTR v) { SetColor(i.dwDisabledTextColor, v); }},
        {L"itemdisabledbkcolor", [](I& i, LPCTSTR v) { SetColor(i.dwDisabledBkColor, v); }},
        {L"itemdisabledimage", [](I& i, LPCTSTR v) { i.sDisabledImage = v; }},
        {L"itemlinecolor", [](I& i, LPCTSTR v) { SetColor(i.dwLineColor, v); }},
        {L"itemshowhtml", [](I& i, LPCTSTR v) { i.bShowHtml = ParseBool(v); }},
    };
    return table.Apply(info, pstrName, pstrValue);
}

int FindSelectableRow(const IContainerUI& rows, int iStart, int iStep) {
    for (int i = iStart; i >= 0 && i < rows.GetCount(); i += iStep) {
        CControlUI* row = rows.GetItemAt(i);
        if (row && row->IsVisible() && row->IsEnabled()) return i;
    }
    return -1;
}

void ReindexRows(const IContainerUI& rows, int iFrom) {
    for (int i = std::max(0, iFrom); i < rows.GetCount(); ++i) {
        if (IListItemUI* item = AsListItem(rows.GetItemAt(i))) item->SetIndex(i);
    }
}

int NavigateRows(const IContainerUI& rows, int iCurrent, WPARAM key, int iPageRows) {
    const int count = rows.GetCount();
    switch (key) {
    case VK_UP:
        return iCurrent < 0 ? FindSelectableRow(rows, 0, 1) : FindSelectableRow(rows, iCurrent - 1, -1);
    case VK_DOWN:
        return FindSelectableRow(rows, iCurrent + 1, 1);
    case VK_HOME:
        return FindSelectableRow(rows, 0, 1);
    case VK_END:
        return FindSelectableRow(rows, count - 1, -1);
    case VK_PRIOR:
        if (iPageRows <= 0) return kNotARowKey;
        return FindSelectableRow(rows, std::max(0, iCurrent - iPageRows), 1);
    case VK_NEXT:
        if (iPageRows <= 0) return kNotARowKey;
        return FindSelectableRow(rows, std::min(count - 1, std::max(0, iCurrent + iPageRows)), -1);
    default:
        return kNotARowKey;
    }
}

IListItemUI* AsListItem(CControlUI* pControl) {
    return pControl ? static_cast<IListItemUI*>(pControl->GetInterface(L"ListItem")) : nullptr;
}

} // namespace DuiLib
