#include "settings/ResumePlayback.h"

#include "app/MainFrame.h"
#include "playback/PlayerTexts.h"
#include "settings/EffectChoice.h"

namespace DuiLib {

void ReopenWithNewSettings(CMainFrame& main) {
    avplayer& player = main.m_player;
    const int status = player.play_status();
    if (status != kStatusPlaying && status != kStatusPaused)
        return;
    // Read before the close, which forgets both.
    const double position = player.curr_play_time();
    const double duration = player.duration();
    const std::optional<float> resume = ResumeFraction(position, duration);
    player.stop();
    player.close();
    // Closed, so the selected row is opened anew with the new settings and plays.
    main.PlaySelected();

    HWND hwnd = main.GetHWND();
    if (resume) {
        main.m_fResumePos = *resume;
        ::SetTimer(hwnd, kTimerResumeSeek, kResumeSeekDelayMs, nullptr);
    } else {
        // No fraction to return to: the file plays from its start, and a seek still
        // pending from an earlier save must not move it.
        ::KillTimer(hwnd, kTimerResumeSeek);
    }
}

} // namespace DuiLib
