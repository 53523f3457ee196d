// Reopening the file that plays after new effect settings, at the place it had.
#include "playback/ResumePlayback.h"

#include "app/MainFrame.h"
#include "app/PlayerTexts.h"
#include "settings/EffectChoice.h"

namespace DuiLib {

void CMainFrame::ReopenWithNewSettings() {
    if (!IsFileOpen())
        return;
    // Read before the close, which forgets both.
    const double position = m_player.curr_play_time();
    const double duration = m_player.duration();
    const std::optional<float> resume = ResumeFraction(position, duration);
    // The file that plays, whichever row the user has selected meanwhile.
    const CDuiString path = m_strCurPath;
    m_player.stop();
    m_player.close();
    // Opening cancels any seek still due from an earlier save.
    OpenAndPlay(path);
    if (resume && !m_bOpenFailed) {
        m_fResumePos = *resume;
        ::SetTimer(m_hWnd, kTimerResumeSeek, kResumeSeekDelayMs, nullptr);
    }
}

} // namespace DuiLib
