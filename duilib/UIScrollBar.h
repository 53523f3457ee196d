#pragma once
// CScrollBarUI: a vertical or horizontal scroll bar: the background (bk), two buttons,
// the rail (the track between the buttons) and a draggable thumb. It scrolls its owner
// container, or raises "scroll" when it has none. Faces come from attributes
// <part><state>image with part bk/button1/button2/thumb/rail and state
// normal/hot/pushed/disabled (e.g. thumbhotimage).
#include <algorithm>
#include "duilib/UIControl.h"
#include "duilib/UIPressState.h"

namespace DuiLib {

class CContainerUI;

class CScrollBarUI : public CControlUI {
    friend class CContainerUI;   // shows and hides its bars while laying out
public:
    CScrollBarUI();
    ~CScrollBarUI() override;

    LPCTSTR GetClass() const override;                  // L"ScrollBarUI"
    LPVOID GetInterface(LPCTSTR pstrName) override;     // "ScrollBar"

    CContainerUI* GetOwner() const { return m_pOwner; }
    void SetOwner(CContainerUI* pOwner) { m_pOwner = pOwner; }
    bool IsHorizontal() const { return m_bHorizontal; }
    void SetHorizontal(bool bHorizontal = true);        // also swaps the default thickness
    int GetScrollRange() const { return m_nRange; }
    void SetScrollRange(int nRange);                    // clamps the position
    int GetScrollPos() const { return m_nScrollPos; }
    void SetScrollPos(int nPos);                        // clamps; does not call the owner
    int GetLineSize() const { return m_nLineSize; }
    void SetLineSize(int nSize);
    // The visible extent of the scrolled content; sizes the thumb.
    int GetPageSize() const { return m_nPageSize; }
    void SetPageSize(int nSize);
    bool IsShowButton1() const { return m_bShowButton1; }
    void SetShowButton1(bool bShow);
    bool IsShowButton2() const { return m_bShowButton2; }
    void SetShowButton2(bool bShow);

    // Parts, in client coordinates (valid after SetPos).
    const RECT& GetButton1Rect() const { return m_rcButton1; }
    const RECT& GetButton2Rect() const { return m_rcButton2; }
    const RECT& GetThumbRect() const { return m_rcThumb; }

    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;
    void PaintBkImage(CCanvas& canvas) override;
    void PaintStatusImage(CCanvas& canvas) override;

private:
    // Moves to nPos through the owner when there is one, else on its own.
    void ScrollTo(int nPos);
    void LayoutThumb();
    void StartRepeat(int nDirection);
    void OnPress(POINT pt);
    void OnRelease();
    void OnMouseMove(POINT pt);
    void OnRepeatTimer();
    int PageStep() const { return std::max(m_nLineSize, m_nPageSize); }
    void PaintPart(CCanvas& canvas, const RECT& rc, int part, UINT state);

    CContainerUI* m_pOwner = nullptr;
    bool m_bHorizontal = false;
    int m_nRange = 100;
    int m_nScrollPos = 0;
    int m_nLineSize = 8;
    int m_nPageSize = 0;
    bool m_bShowButton1 = true;
    bool m_bShowButton2 = true;
    RECT m_rcButton1{};
    RECT m_rcButton2{};
    RECT m_rcThumb{};
    CPressState m_button1;
    CPressState m_button2;
    CPressState m_thumb;
    CPressState m_rail;   // hot while the pointer is over the bar
    int m_nRepeat = 0;          // direction of the held button or track press, 0 = none
    POINT m_ptDragStart{};
    int m_nDragStartPos = 0;
    CDuiString m_sImages[5][4];   // part x state: bk, button1, button2, thumb, rail
};

} // namespace DuiLib
