#include "duilib/UIListHeader.h"

namespace DuiLib {

LPCTSTR CListHeaderUI::GetClass() const { return L"ListHeaderUI"; }

LPVOID CListHeaderUI::GetInterface(LPCTSTR pstrName) {
    if (pstrName && wcscmp(pstrName, L"ListHeader") == 0) return this;
    return CHorizontalLayoutUI::GetInterface(pstrName);
}

SIZE CListHeaderUI::EstimateSize(SIZE) {
    if (m_cxyFixed.cy > 0) return {0, m_cxyFixed.cy};
    return {0, GetCount() > 0 ? kListDefaultHeaderHeight : 0};
}

CListHeaderItemUI::CListHeaderItemUI() {
    // Clicking a column title must not take the keyboard from the rows.
    m_bKeyboardEnabled = false;
}

LPCTSTR CListHeaderItemUI::GetClass() const { return L"ListHeaderItemUI"; }

LPVOID CListHeaderItemUI::GetInterface(LPCTSTR pstrName) {
    if (pstrName && wcscmp(pstrName, L"ListHeaderItem") == 0) return this;
    return CButtonUI::GetInterface(pstrName);
}

bool CListHeaderItemUI::Activate() {
    if (!CControlUI::Activate()) return false;
    RaiseNotify(DUI_MSGTYPE_HEADERCLICK);
    return true;
}

} // namespace DuiLib
