// The playlist's text callback: column texts cut out of each row's user data.
#include "playback/ListCallback.h"

#include "playback/ColumnText.h"

namespace DuiLib {

namespace {

// Shared by every call: the list draws each text before it asks for the next one.
constexpr size_t kItemTextUnits = 1024;
wchar_t g_szItemText[kItemTextUnits];

} // namespace

LPCTSTR CListCallbackUI::GetItemText(CControlUI* pList, int, int iSubItem) {
    if (!playlist::IsColumn(iSubItem))
        return g_szItemText;
    g_szItemText[0] = L'\0';
    if (pList) {
        const CDuiString userData = pList->GetUserData();
        const CDuiString rowPath = pList->GetName();
        playlist::CopyCut(playlist::ShownColumnText(userData.str(), rowPath.str(), iSubItem), g_szItemText,
                          kItemTextUnits);
    }
    return g_szItemText;
}

void CListCallbackUI::SetItemText(CControlUI* pList, int, int iSubItem, LPCTSTR text) {
    if (!pList || !playlist::IsColumn(iSubItem))
        return;
    // The whole column text, not the cut copy GetItemText gives, so a long one is found.
    const std::wstring userData =
        playlist::ReplaceColumnText(pList->GetUserData().str(), iSubItem, text ? text : L"");
    pList->SetUserData(userData.c_str());
    pList->Invalidate();
}

} // namespace DuiLib
