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
    // The file that plays, whichever row the user has selected meanwhile.
    const CDuiString path = main.m_strCurPath;
    player.stop();
    player.close();
    // Opening cancels any seek still due from an earlier save.
    main.OpenAndPlay(path);
    if (resume && !main.m_bOpenFailed) {
        main.m_fResumePos = *resume;
        ::SetTimer(main.GetHWND(), kTimerResumeSeek, kResumeSeekDelayMs, nullptr);
    }
}

} // namespace DuiLib
