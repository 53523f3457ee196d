// The seek slider's time tip: where it stands, the time under the pointer, when it goes.
#include "app/SeekPreview.h"

#include "playback/ProgressMath.h"

namespace DuiLib {

CDuiString SeekPreviewText(int value, int max, double duration) {
    if (max <= 0 || !(duration > 0.0))
        return CDuiString();
    return FormatTime(SeekFraction(value, max) * duration);
}

void CSeekPreview::Follow(HWND owner, CSliderUI* slider, POINT at, const std::function<double()>& openDuration) {
    // The engine is asked only over the slider: a pointer crossing the window costs nothing.
    const bool over = slider && slider->IsVisible() && ::PtInRect(&slider->GetPos(), at);
    const double duration = over ? openDuration() : 0.0;
    const CDuiString text = duration > 0.0 ? SeekPreviewText(slider->ValueUnder(at), slider->GetMaxValue(), duration)
                                           : CDuiString();
    // Above the pointer, so the tip never covers the slider being aimed at.
    POINT screen = at;
    ::ClientToScreen(owner, &screen);
    if (text.IsEmpty() || !m_tip.Show(owner, text.GetData(), {screen.x + 8, screen.y - 28}))
        Hide();
}

} // namespace DuiLib
