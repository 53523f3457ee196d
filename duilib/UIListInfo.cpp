#include "duilib/UIListInfo.h"
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

IListItemUI* AsListItem(CControlUI* pControl) {
    return pControl ? static_cast<IListItemUI*>(pControl->GetInterface(L"ListItem")) : nullptr;
}

} // namespace DuiLib
