// The one road of a command: every window's buttons, keys and gestures arrive here by
// the command's name and run the main window's operation for it.
#include "app/MainFrame.h"

namespace DuiLib {

void CMainFrame::RunCommand(playercmd::Command command) {
    using playercmd::Command;
    using playercmd::kSeekStepSeconds;
    using playercmd::kVolumeStep;
    switch (command) {
    // The window buttons go through WM_SYSCOMMAND so OnSysCommand keeps
    // "btn_max" and "btn_restore" in step with the window whatever the source.
    case Command::Close: SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0); break;
    case Command::Minimize: SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0); break;
    case Command::Maximize: SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0); break;
    case Command::Restore: SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0); break;
    case Command::Settings: ShowSettings(); break;
    case Command::AddFiles: AddFiles(); break;
    case Command::DeleteRow: DeleteSelected(); break;
    case Command::ClearList: ClearList(); break;
    case Command::ToggleList: ToggleListPanel(); break;
    case Command::Play: OnPlayCommand(); break;
    case Command::Stop: StopPlayback(); break;
    case Command::Previous: PlayPrev(); break;
    case Command::Next: PlayNext(); break;
    case Command::Mute: MuteOn(); break;
    case Command::MuteOff: MuteOff(); break;
    case Command::FullScreen: ToggleFullScreen(); break;
    case Command::PauseOrResume: PauseOrResume(); break;
    case Command::SeekBack: SeekBy(-kSeekStepSeconds); break;
    case Command::SeekForward: SeekBy(kSeekStepSeconds); break;
    case Command::VolumeUp: StepVolume(kVolumeStep); break;
    case Command::VolumeDown: StepVolume(-kVolumeStep); break;
    case Command::SlowerSpeed: StepSpeed(-1); break;
    case Command::FasterSpeed: StepSpeed(1); break;
    case Command::NormalSpeed: NormalSpeed(); break;
    case Command::ShowOrHideSubtitles: ShowOrHideSubtitles(); break;
    case Command::EarlierSubtitles: ShiftSubtitles(-1); break;
    case Command::LaterSubtitles: ShiftSubtitles(1); break;
    case Command::Screenshot: TakeScreenshot(); break;
    case Command::None: break;
    }
}

} // namespace DuiLib
