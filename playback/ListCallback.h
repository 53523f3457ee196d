#pragma once
// CListCallbackUI: gives the playlist the texts it paints, cut out of each row's user
// data ("a.mkv{#0}"), and replaces one column's text in it.
#include "duilib/UIlib.h"

namespace DuiLib {

class CListCallbackUI : public IListCallbackUI {
public:
    // Column 0..6 of the row's user data, in a buffer shared by every call (valid until
    // the next one); another column returns the previous call's text.
    LPCTSTR GetItemText(CControlUI* pList, int iItem, int iSubItem) override;
    // Replaces column 0..6's text in the row's user data and repaints the row.
    void SetItemText(CControlUI* pList, int iItem, int iSubItem, LPCTSTR text) override;
};

} // namespace DuiLib
