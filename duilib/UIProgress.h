#pragma once
// CProgressUI (a bar filled in proportion to its value) and CSliderUI (a progress bar
// with a draggable thumb that reports "valuechanged" when the user lets go).
#include "duilib/UILabel.h"
#include "duilib/UIPressState.h"

namespace DuiLib {

class CProgressUI : public CLabelUI {
public:
    CProgressUI();
    LPCTSTR GetClass() const override;                  // L"ProgressUI"
    LPVOID GetInterface(LPCTSTR pstrName) override;     // "Progress"

    bool IsHorizontal() const { return m_bHorizontal; }
    void SetHorizontal(bool bHorizontal = true);
    int GetMinValue() const { return m_nMin; }
    void SetMinValue(int nMin);                         // keeps the value inside the range
    int GetMaxValue() const { return m_nMax; }
    void SetMaxValue(int nMax);                         // keeps the value inside the range
    int GetValue() const { return m_nValue; }
    void SetValue(int nValue);                          // clamped to [min, max]
    LPCTSTR GetForeImage() const { return m_sForeImage; }
    void SetForeImage(LPCTSTR pStrImage);

    void PaintStatusImage(CCanvas& canvas) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;

protected:
    // The filled part for the current value, in client coordinates.
    RECT FilledRect() const;

    bool m_bHorizontal = true;
    bool m_bHasAttrValue = false;   // a "value" attribute re-applies after "min"/"max"
    int m_nAttrValue = 0;
    int m_nMin = 0;
    int m_nMax = 100;
    int m_nValue = 0;
    CDuiString m_sForeImage;
};

class CSliderUI : public CProgressUI {
public:
    CSliderUI();
    LPCTSTR GetClass() const override;                  // L"SliderUI"
    LPVOID GetInterface(LPCTSTR pstrName) override;     // "Slider"

    int GetChangeStep() const { return m_nStep; }       // keys and wheel move by this
    void SetChangeStep(int step);
    SIZE GetThumbSize() const { return m_szThumb; }
    void SetThumbSize(SIZE szXY);
    RECT GetThumbRect() const;                          // client coordinates
    void SetThumbImage(LPCTSTR pStrImage);
    void SetThumbHotImage(LPCTSTR pStrImage);
    void SetThumbPushedImage(LPCTSTR pStrImage);
    bool IsDragging() const { return m_thumb.IsCaptured(); }
    // The value a click at pt would give: the one whose thumb centre lies there.
    int ValueUnder(POINT pt) const;

    void SetEnabled(bool bEnable = true) override;
    void DoEvent(TEventUI& event) override;
    void PaintStatusImage(CCanvas& canvas) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;

private:
    // The value whose thumb centre lies at pt (plus the grab offset of the drag).
    int ValueAtPoint(POINT pt) const;
    void ChangeByKey(int nValue);

    int m_nStep = 1;
    SIZE m_szThumb{10, 10};
    CPressState m_thumb;
    int m_nGrabOffset = 0;   // pointer distance from the thumb centre when the drag began
    CDuiString m_sThumbImage;
    CDuiString m_sThumbHotImage;
    CDuiString m_sThumbPushedImage;
};

} // namespace DuiLib
