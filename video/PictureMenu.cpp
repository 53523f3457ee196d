// The picture's context menu: built from the model when it opens, shown with the
// system's own popup, and each chosen item run by the same operation as its button
// or key.
#include "video/PictureMenu.h"

#include "app/MainFrame.h"
#include "app/PlayerTexts.h"
#include "video/VideoRealWnd.h"

namespace picturemenu {

PlayerView ViewOf(DuiLib::CMainFrame& frame) {
    PlayerView view;
    view.status = frame.m_player.play_status();
    view.rows = frame.m_pPlayList ? frame.m_pPlayList->GetCount() : 0;
    view.fileOpened = !frame.m_strCurPath.IsEmpty();
    view.fullScreen = frame.m_pVideoWnd && frame.m_pVideoWnd->m_bFullScreen;
    for (const auto& track : frame.m_player.audio_tracks())
        view.audioTracks.push_back({track.number, track.language, track.channels});
    view.audioTrack = frame.m_player.audio_track();
    view.speed = frame.m_player.speed();
    view.subtitles = frame.SubtitleFilesBeside();
    view.subtitle = frame.m_strSubtitlePath;
    view.subtitlesShown = frame.m_player.subtitles_shown();
    return view;
}

HMENU CreateNativeMenu(const std::vector<MenuEntry>& entries) {
    HMENU menu = ::CreatePopupMenu();
    if (!menu)
        return nullptr;
    for (const MenuEntry& entry : entries) {
        if (entry.IsSeparator()) {
            ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const UINT state = entry.enabled ? MF_ENABLED : MF_GRAYED;
        if (!entry.children.empty()) {
            if (HMENU sub = CreateNativeMenu(entry.children)) {
                // The parent owns it from here and destroys it with itself.
                if (!::AppendMenuW(menu, MF_POPUP | MF_STRING | state, reinterpret_cast<UINT_PTR>(sub),
                                   entry.text.c_str()))
                    ::DestroyMenu(sub);
            }
            continue;
        }
        ::AppendMenuW(menu, MF_STRING | state | (entry.checked ? MF_CHECKED : MF_UNCHECKED), entry.command,
                      entry.text.c_str());
    }
    return menu;
}

} // namespace picturemenu

namespace DuiLib {

void CMainFrame::ShowPictureMenu(HWND owner, POINT screen) {
    HMENU menu = picturemenu::CreateNativeMenu(picturemenu::BuildPictureMenu(picturemenu::ViewOf(*this)));
    if (!menu)
        return;
    // The owner must be foreground, or the menu stays open after a click elsewhere.
    ::SetForegroundWindow(owner);
    const UINT chosen = static_cast<UINT>(
        ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, screen.x, screen.y, 0, owner, nullptr));
    ::DestroyMenu(menu);
    RunPictureCommand(chosen);
}

void CMainFrame::RunPictureCommand(unsigned command) {
    switch (command) {
    case picturemenu::kPlayPause: {
        if (IsFileOpen())
            PauseOrResume();   // as Space
        else
            OnPlayCommand();   // as the play button
        break;
    }
    case picturemenu::kStop: StopPlayback(); break;
    case picturemenu::kPrevious: PlayPrev(); break;
    case picturemenu::kNext: PlayNext(); break;
    case picturemenu::kFullScreen: ToggleFullScreen(); break;
    case picturemenu::kFromStart: PlayFromStart(); break;
    case picturemenu::kScreenshot: TakeScreenshot(); break;
    case picturemenu::kOpenFolder: ShowFileInFolder(); break;
    case picturemenu::kSubtitlesOff: m_player.subtitles_show(false); break;
    case picturemenu::kLoadSubtitles: ChooseSubtitleFile(); break;
    case picturemenu::kSettings: ShowSettings(); break;
    default: RunPictureChoice(command); break;
    }
}

// The submenus' choices: a sound track, a speed, a subtitle file beside the video.
void CMainFrame::RunPictureChoice(unsigned command) {
    // The index of the choice in the submenu starting at first, or -1.
    const auto choice = [command](unsigned first) {
        return command >= first && command < first + picturemenu::kMaxMenuChoices ? static_cast<int>(command - first)
                                                                                  : -1;
    };
    if (const double speed = picturemenu::SpeedOf(static_cast<picturemenu::Command>(command))) {
        SetSpeed(speed);
    } else if (const int track = choice(picturemenu::kAudioTrackFirst); track >= 0) {
        if (m_player.set_audio_track(track + 1))
            m_userState.openedTrack = track + 1;   // kept with the file's place
    } else if (const int file = choice(picturemenu::kSubtitleFileFirst); file >= 0) {
        LoadSubtitleBeside(static_cast<size_t>(file));
    }
}

} // namespace DuiLib
