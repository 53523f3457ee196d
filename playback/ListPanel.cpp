// The playlist panel beside the play region: hidden or shown by the collapse button.
#include "app/MainFrame.h"
#include "app/PlayerTexts.h"

namespace DuiLib {

void CMainFrame::ToggleListPanel() {
    CControlUI* region = m_PaintManager.FindControl(kCtlListRegion);
    if (!region)
        return;
    CControlUI* found = m_PaintManager.FindControl(kCtlListToggle);
    auto* toggle = found ? static_cast<CButtonUI*>(found->GetInterface(L"Button")) : nullptr;
    LPCTSTR image;
    if (m_bListShown == 1) {
        m_bListShown = 0;
        region->SetVisible(false);
        image = kImageListHidden;
    } else {
        m_bListShown = 1;
        region->SetVisible(true);
        image = kImageListShown;
    }
    if (toggle)
        toggle->SetNormalImage(image);
    // The play region takes the freed width at the next layout; the video follows.
    ::SetTimer(m_hWnd, kTimerFitVideo, kFitDelayMs, nullptr);
}

} // namespace DuiLib
