#pragma once
// The header of a list: a row of header items whose widths give the list's columns.
#include "duilib/UIButton.h"
#include "duilib/UIContainer.h"

namespace DuiLib {

// Header height when the layout gives none and the header has items.
inline constexpr int kListDefaultHeaderHeight = 24;

class CListHeaderUI : public CHorizontalLayoutUI {
public:
    LPCTSTR GetClass() const override;                  // L"ListHeaderUI"
    LPVOID GetInterface(LPCTSTR pstrName) override;     // "ListHeader"
    // Its height; an empty header without one takes no room.
    SIZE EstimateSize(SIZE szAvailable) override;
};

// One column title; "width" is the column's width (0 shares what the fixed ones leave).
class CListHeaderItemUI : public CButtonUI {
public:
    CListHeaderItemUI();
    LPCTSTR GetClass() const override;                  // L"ListHeaderItemUI"
    LPVOID GetInterface(LPCTSTR pstrName) override;     // "ListHeaderItem"
    bool Activate() override;                           // raises "headerclick"
};

} // namespace DuiLib
