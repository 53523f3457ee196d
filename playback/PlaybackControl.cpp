// Playback commands of the main window. Engine calls are guarded by the status the
// engine reports, never by their results.
#include "app/MainFrame.h"

namespace DuiLib {

void CMainFrame::PauseOrResume() {
    int status = m_player.play_status();
    if (status == 1)
        m_player.pause();
    else if (status == 2)
        m_player.resume();
}

} // namespace DuiLib
