#pragma once
// The scrolled column of rows inside a list, and inside a combo box's drop-down.
#include <vector>
#include "duilib/UIContainer.h"

namespace DuiLib {

class CListUI;

// Rows stacked top to bottom at their own heights, as wide as the list's columns need.
// One layout pass is linear in the rows; painting visits only the rows in sight.
class CListBodyUI : public CVerticalLayoutUI {
public:
    // pList: the list whose columns set the row width; null for a plain column of rows.
    explicit CListBodyUI(CListUI* pList = nullptr);
    LPCTSTR GetClass() const override;                  // L"ListBodyUI"

    // Scrolls the row into view: now when the rows are in place, else at the next layout.
    void EnsureItemVisible(int iIndex);
    // Height of the rows together (visible rows, their padding included).
    int GetContentHeight();

    // One row per line step.
    void LineUp() override;
    void LineDown() override;

    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void DoEvent(TEventUI& event) override;
    void DoPaint(CCanvas& canvas, const RECT& rcPaint) override;

private:
    int RowHeight(CControlUI* pRow, SIZE szAvailable) const;
    int RowStep() const;

    CListUI* m_pList;
    int m_iEnsureVisible = -1;
    std::vector<int> m_heights;   // per row, -1 for hidden rows; valid during SetPos
};

} // namespace DuiLib
