#pragma once
// CMainFrame: the player's main window and the hub of the program. It owns the
// engine, the video window, the playlist's paths and the effect settings; the other
// windows reach it through g_pMainFrame and call only its operations. Its operations
// live in the folder of their concern: chrome and routing in app/, playback in
// playback/, the picture in video/, configuration in settings/, memory in state/.
#include <string>
#include <vector>
#include "duilib/UIlib.h"
#include "app/PlaybackView.h"
#include "app/PlayerCommands.h"
#include "app/SeekPreview.h"
#include "avcore/avplayer.h"
#include "playback/PathIndex.h"
#include "playback/PathListings.h"
#include "settings/EffectSettings.h"
#include "state/StateKeeper.h"

namespace DuiLib {

class CVideoRealWnd;
class CListCallbackUI;
class CListUI;

// Native timers of the main window (WM_TIMER ids).
inline constexpr UINT_PTR kTimerPoll = 1;         // 100 ms, polls the engine
inline constexpr UINT_PTR kTimerFitVideo = 2;     // 100 ms one shot after size changes
inline constexpr UINT_PTR kTimerResumeSeek = 3;   // 500 ms one shot after a settings reopen
inline constexpr UINT_PTR kTimerSkipRow = 4;      // one shot: the row after one that would not open
inline constexpr UINT kPollPeriodMs = 100;
// Posted by a path listing's worker when it has finished: the window adds its files.
inline constexpr UINT kMsgPathsListed = WM_APP + 1;
inline constexpr UINT kFitDelayMs = 100;
// How long a row that would not open stays named in the title before the next one is tried.
inline constexpr UINT kSkipRowDelayMs = 1500;

class CMainFrame : public WindowImplBase {
public:
    CMainFrame();
    ~CMainFrame() override;

    // Window base hooks (app/MainFrame.cpp, app/MainFrameChrome.cpp, app/MainFrameEvents.cpp).
    LPCTSTR GetWindowClassName() const override;           // "PlayerMainWnd"
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;               // deletes the object
    void InitWindow() override;
    void OnClick(TNotifyUI& msg) override;                 // the command of the button's name
    CDuiString GetSkinFolder() override;                   // ""
    CDuiString GetSkinFile() override;                     // "MainFrame.xml"
    LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override;   // never uses a key
    UINT GetResourceType() override;                       // zipped skin in a resource
    LPCTSTR GetZIPFileName() override;                     // "Res.zip"
    UINT GetResourceID() override;                         // 131
    LRESULT OnNcCalcSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnNcHitTest(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnGetMinMaxInfo(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    void Notify(TNotifyUI& msg) override;
    CControlUI* CreateControl(LPCTSTR pstrClass) override;     // none of its own

    // The window's control tree (for the other windows and for tests).
    CPaintManagerUI& GetPaintManager() { return m_PaintManager; }

    // Commands from every window: buttons by name, keys, the picture (app/MainFrameCommands.cpp).
    void RunCommand(playercmd::Command command);
    // (playback/KeyBindings.cpp) A key pressed in one of the player's windows: on that window's focused seek slider
    // the arrows seek; where a focused list or slider takes the arrows they are left to
    // it. False when the key is no command here.
    bool RunKey(WPARAM key, CSliderUI* seekSlider, bool focusTakesArrows);

    // Playlist (playback/Playlist.cpp).
    void AddFiles();                   // file dialog, then one row per chosen file not yet listed
    // Adds the rows of one dialog result: the buffer as GetOpenFileNameW left it and its
    // file-name offset (the folder before it, then NUL-terminated names).
    void AddDialogResult(const wchar_t* result, size_t resultLength, size_t fileOffset);
    void RebuildPathIndex();           // known paths refilled from the rows
    bool IsPathInList(LPCTSTR path);   // same length and lstrcmpiW-equal to a known path
    void AddListItem(LPCTSTR fullPath, LPCTSTR displayName);
    void DeleteSelected();             // removes the selected row
    void ClearList();                  // removes every row

    // Files from outside the dialog (playback/OpenWith.cpp). They are checked and folders
    // listed on a worker (folders as their video files by name), then added here; files
    // already listed are not listed again.
    // Adds listed files; answers the first of them (listed before or not).
    std::wstring AddListedFiles(const std::vector<std::wstring>& files);
    void OpenPaths(const std::vector<std::wstring>& paths);   // command line: add, play the first
    void DropFiles(HDROP drop);        // add, and play the first when nothing plays; frees a whole drop only
    bool ReceiveForwardedPaths(const COPYDATASTRUCT* data);   // a second start's paths: add, play the first
    void AddFinishedListings();        // on kMsgPathsListed
    int RowOfPath(const std::wstring& path);                   // -1 when not listed
    void PlayListedPath(const std::wstring& path);             // selects its row and plays it

    // Playback commands (playback/PlaybackControl.cpp).
    void OnPlayCommand();              // empty list: the notice; else PlaySelected
    void PlaySelected();               // the selected row (row 0 when none)
    void PlayOrPause(LPCTSTR path);    // the loaded file: pause, resume or play again
    void OpenAndPlay(LPCTSTR path);    // stop what plays, open path with m_effect, play
    void PauseOrResume();              // pause if playing, resume if paused, else nothing
    void StopPlayback();               // stop and close while playing or paused
    void PlayPrev();                   // previous row, wrapping to the last
    void PlayNext();                   // next row, wrapping to the first
    // After the end of a file: the next row; one that would not open shows why for a
    // moment, then the row after it is tried (timer 4), at most once round the list.
    void PlayNextPlayable();
    bool IsFileOpen();                 // the engine plays or pauses a file
    // After new effect settings: the file that plays or is paused is opened again with
    // them and sent back to its place when timer 3 fires (playback/ResumePlayback.cpp).
    void ReopenWithNewSettings();

    // Progress (playback/Progress.cpp).
    // The tick: status text, and every view from the engine's state; next row at the end.
    void UpdateProgress();
    void ShowPlayback(PlaybackView view);   // in this window and the bar; what view leaves stays
    void SeekFromSlider();             // engine seek from "slider_play"; the thumb follows playback again
    // A seek slider (either window's) at value of max: "slider_play" shows value, the
    // engine seeks there, and the thumb follows playback again.
    void SeekToSliderValue(int value, int max);
    // m_bSeeking goes up when a press has caught this seek slider's thumb (either window's),
    // and down with any release, so polling leaves a held thumb alone.
    void BeginSeek(CSliderUI* slider);
    void EndSeek();

    // The speed (playback/PlaybackSpeed.cpp), kept by the engine across files.
    void StepSpeed(int steps);         // by quarters within 0.5x..2.0x
    void SetSpeed(double speed);       // one of the menu's steps
    void NormalSpeed();

    // Seeking by keys and the wheel (playback/KeyBindings.cpp).
    bool FocusTakesArrows();              // the focused list or slider moves with the arrows itself
    void SeekBy(double seconds);          // while a file is open, within 0..duration
    void StepVolume(int delta);           // the volume slider by delta, sent as the slider sends it
    void WheelVolume(int wheelDelta);     // WM_MOUSEWHEEL's delta over the picture
    // The arrows on either window's focused seek slider, and the wheel over it, seek by
    // 5 s as the arrows do elsewhere; false when the slider has no focus or the key is
    // no arrow, or the wheel message (screen point) is not over the slider in owner.
    bool SeekSliderKey(CSliderUI* slider, WPARAM key);
    bool SeekSliderWheel(CSliderUI* slider, HWND owner, WPARAM wParam, LPARAM lParam);

    // Subtitles (playback/Subtitles.cpp).
    void LoadSubtitlesBeside(const std::wstring& videoPath);  // just opened: the same-name file, if any
    bool LoadSubtitleFile(const std::wstring& path);          // for the open file; a refusal is told
    void TakeDroppedSubtitles(std::vector<std::wstring>& paths);  // out of paths; the first loaded if a file is open
    void ShowOrHideSubtitles();
    void ShiftSubtitles(int steps);       // by 100 ms a step, later for positive steps; the title says by how much
    void ChooseSubtitleFile();            // the open dialog for one subtitle file, loaded and shown
    std::vector<std::wstring> SubtitleFilesBeside();        // beside the open file; none while nothing is open
    void LoadSubtitleBeside(size_t index);                   // one of those, loaded and shown

    // The seek preview of either window's seek slider (playback/SeekPreview.cpp's user, Progress.cpp).
    void FollowSeekPreview(CSeekPreview& preview, HWND owner, CSliderUI* slider, POINT client);

    // Volume and mute (playback/Volume.cpp).
    void SetVolumeFromSlider();        // engine volume from "slider_volumn"
    // A volume slider (either window's) at value of max: both sliders show value, the
    // engine takes the volume on that slider's scale.
    void SetVolume(int value, int max);
    void MuteOn();                     // mute while playing or paused
    void MuteOff();                    // unmute while playing or paused
    void UpdateMuteButtons(bool bMuted);   // both windows' mute pair follow the engine

    // List panel (playback/ListPanel.cpp).
    void ToggleListPanel();            // hides or shows "listregion", then refits the video

    // Video window (video/MainFrameVideo.cpp).
    void CreateVideoWnd();             // the hidden child the engine draws into
    void DestroyVideoWnd();
    void FitVideoToPlayRegion();       // video window over "playregion" unless full screen
    HWND VideoWindow();                // the picture's window; null without one
    bool IsFullScreen();               // the picture covers the screen
    void ToggleFullScreen();           // windowed <-> full screen
    void ShowNoVideoText(LPCTSTR text);   // where no picture is drawn
    void ShowPlaybackInBar(const PlaybackView& view);   // the full-screen bar's sliders and clock
    void ShowMuteInBar(bool bMuted);   // the full-screen bar's mute pair

    // A drop with no window left to take it: freed only when it is one (playback/OpenWith.cpp).
    static void DiscardDrop(HDROP drop);

    // Configuration (settings/): overlays cfg.cfg on m_effect.
    void LoadConfig();
    void ShowSettings();               // the settings window over this one

    // The user's state between runs (state/MainFrameState.cpp); with no state file
    // named, nothing is read or written.
    // Reads the file: rows, selection, volume and mute, list panel, and the window's
    // place; false when no place was remembered or it lies on no present monitor.
    bool RestoreUserState(const std::wstring& stateFile);
    void SaveUserState();              // the whole state, now
    void KeepUserState();              // each polling tick: the open file's time, the 10 s save
    double StartOfOpenedFile(LPCTSTR path);   // just opened: where to start it (notice shown), else 0

    // The picture's menu (video/PictureMenu.cpp); what only it offers (playback/StartOver.cpp).
    void ShowPictureMenu(HWND owner, POINT screen);   // at a screen point; runs the chosen item
    void RunPictureChoice(unsigned command);          // a sound track, speed or subtitle file chosen
    void RunPictureCommand(unsigned command);         // an item, by its button's or key's operation
    void PlayFromStart();              // the open file again from 0, where it was left forgotten
    void ShowFileInFolder();           // Explorer on the open file's folder, the file selected

    // Screenshots (playback/Screenshot.cpp).
    void TakeScreenshot();             // the engine's last picture as PNG; the title says where

    // A status text held over the polled one (playback/StatusNotice.cpp).
    void ShowStatusNotice(LPCTSTR text, ULONGLONG milliseconds = userstate::kResumeNoticeMs);
    void HoldStatusNotice();
    // Notices (app/Notices.cpp): a message box with the caption "提示", above the window
    // the user sees: over, else the full-screen picture while it covers the screen, else us.
    void ShowNotice(LPCTSTR text, HWND over = nullptr);
    HWND NoticeOwner();

    int m_bReady = 0;                          // set once InitWindow has found its controls
    CVideoRealWnd* m_pVideoWnd = nullptr;      // owned; the engine draws into it
    CListUI* m_pPlayList = nullptr;            // "listplay"
    CListCallbackUI* m_pListCallback = nullptr;   // owned; the list's text source
    CSliderUI* m_pVolumeSlider = nullptr;      // "slider_volumn"
    CSliderUI* m_pPlaySlider = nullptr;        // "slider_play"
    CControlUI* m_pCurTimeText = nullptr;      // "txt_curtime"
    CControlUI* m_pTotalTimeText = nullptr;    // "txt_totaltime"
    int m_bListShown = 1;                      // the playlist panel is shown
    avplayer m_player;                         // destroyed with the window, never stopped first
    CDuiString m_strCurPath;                   // the file last opened successfully
    std::wstring m_strSubtitlePath;            // the subtitle file loaded for it; empty when none
    int m_bSeeking = 0;                        // a mouse button holds a seek thumb; polling leaves it
    std::vector<std::wstring> m_vecPaths;      // full paths of the list rows
    EffectSettings m_effect{1, 0};             // ellipse, no effect until cfg.cfg says otherwise
    float m_fResumePos = 0.0f;                 // fraction to seek to when timer 3 fires
    userstate::StateKeeper m_userState;
    CDuiString m_strStatusNotice;              // shown until m_noticeUntilTick, when not empty
    ULONGLONG m_noticeUntilTick = 0;
    int m_nStatusWidth = -1;                   // the status text's own width while a notice widens it
    int m_bOpenFailed = 0;                     // the last open failed; the title says so until the next

private:
    // Shows whichever of "btn_max"/"btn_restore" fits the window state.
    void ShowMaximizedButtons(bool bMaximized);
    // HandleMessage's parts (app/MainFrameEvents.cpp): the native timers, and the
    // mouse; true when the message is taken, with its result in result.
    void OnTimer(UINT_PTR id);
    bool OnMouseMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool WheelOverPicture(WPARAM wParam, LPARAM lParam);
    bool SeekThumbHeld();              // a press holds the seek thumb; polling leaves it

    playlist::PathIndex m_pathIndex;           // m_vecPaths by case-blind key, for IsPathInList
    playlist::PathListings m_listings{kMsgPathsListed};   // paths from outside, being listed
    // Marks a failed open in the title: "无法播放" beside that file's path.
    void ShowCannotPlay(LPCTSTR path);

    int m_wheelRest = 0;                       // wheel delta short of a notch (volume)
    int m_seekWheelRest = 0;                   // the same over a seek slider
    int m_nRowsSkipped = 0;                    // rows in a row that would not open after an end

public:
    CSeekPreview m_seekPreview;                // over "slider_play"
};

// Lets files be dropped on hwnd and a second start's paths reach it, also when we run
// elevated and the sender does not.
void AcceptOpenRequests(HWND hwnd);

} // namespace DuiLib

// The one main window object; set before its native window exists, cleared after the loop.
extern DuiLib::CMainFrame* g_pMainFrame;
