// Seeking from the main window's seek slider.
#include "app/MainFrame.h"

namespace DuiLib {

void CMainFrame::SeekFromSlider() {
    // Polling leaves the slider where the user put it until the button comes up.
    m_bSeeking = 1;
    if (!m_pPlaySlider)
        return;
    int max = m_pPlaySlider->GetMaxValue();
    if (max == 0)
        return;
    float fraction = static_cast<float>(m_pPlaySlider->GetValue()) / static_cast<float>(max);
    m_player.seek_to(static_cast<double>(fraction));
}

} // namespace DuiLib
