// Engine volume from the main window's volume slider.
#include "app/MainFrame.h"

namespace DuiLib {

void CMainFrame::SetVolumeFromSlider() {
    if (!m_pVolumeSlider)
        return;
    int max = m_pVolumeSlider->GetMaxValue();
    if (max == 0)
        return;
    // Percent of the slider's range, in single precision as the engine has always had it.
    float x = static_cast<float>(m_pVolumeSlider->GetValue()) * 100.0f / static_cast<float>(max);
    m_player.volume(static_cast<double>(x), static_cast<double>(x));
}

} // namespace DuiLib
