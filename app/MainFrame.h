#pragma once
// CMainFrame: the player's main window and the hub of the program. It owns the
// engine, the video window, the playlist's paths and the effect settings; the other
// windows reach it through g_pMainFrame. Its operations live in the folder of their
// concern: chrome and routing in app/, playback in playback/, configuration in settings/.
#include <string>
#include <vector>
#include "duilib/UIlib.h"
#include "avcore/avplayer.h"
#include "playback/PathIndex.h"
#include "playback/SeekPreview.h"
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
inline constexpr UINT kPollPeriodMs = 100;
// Posted to itself when a second start forwarded paths: they are opened after the
// sender has its answer.
inline constexpr UINT kMsgOpenForwarded = WM_APP + 1;
inline constexpr UINT kFitDelayMs = 100;

class CMainFrame : public WindowImplBase {
public:
    CMainFrame();
    ~CMainFrame() override;

    // Window base hooks (app/MainFrame.cpp, app/MainFrameChrome.cpp, app/MainFrameEvents.cpp).
    LPCTSTR GetWindowClassName() const override;           // "PlayerMainWnd"
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;               // deletes the object
    void InitWindow() override;
    void OnClick(TNotifyUI& msg) override;
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

    // Files from outside the dialog (playback/OpenWith.cpp). Folders add their video
    // files by name; files already listed are not listed again.
    // Adds what the paths name; answers the first file among them (listed before or not).
    std::wstring AddOpenedPaths(const std::vector<std::wstring>& paths);
    void OpenPaths(const std::vector<std::wstring>& paths);   // command line: add, play the first
    void DropFiles(HDROP drop);        // add, and play the first when nothing plays; finishes the drop
    bool ReceiveForwardedPaths(const COPYDATASTRUCT* data);   // a second start's paths, opened later
    void OpenForwardedPaths();
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

    // Progress (playback/Progress.cpp).
    void UpdateProgress();             // status and time texts, seek slider; next row at the end
    void SyncPlayBar();                // sliders and time texts into the full-screen bar
    void SeekFromSlider();             // engine seek from "slider_play"; sets m_bSeeking

    // Keys and wheel (playback/KeyBindings.cpp).
    bool HandlePlaybackKey(WPARAM key);   // arrows: seek by 5 s, volume by 5; false for other keys
    bool FocusTakesArrows();              // the focused list or slider moves with the arrows itself
    void SeekBy(double seconds);          // while a file is open, within 0..duration
    void StepVolume(int delta);           // the volume slider by delta, sent as the slider sends it
    void WheelVolume(int wheelDelta);     // WM_MOUSEWHEEL's delta over the picture

    // The seek preview of either window's seek slider (playback/SeekPreview.cpp's user, Progress.cpp).
    void FollowSeekPreview(CSeekPreview& preview, HWND owner, CSliderUI* slider, POINT client);

    // Volume and mute (playback/Volume.cpp).
    void SetVolumeFromSlider();        // engine volume from "slider_volumn"
    void MuteOn();                     // mute while playing or paused
    void MuteOff();                    // unmute while playing or paused
    void UpdateMuteButtons(bool bMuted);   // both windows' mute pair follow the engine

    // List panel (playback/ListPanel.cpp).
    void ToggleListPanel();            // hides or shows "listregion", then refits the video

    // Video window (video/MainFrameVideo.cpp).
    void CreateVideoWnd();             // the hidden child the engine draws into
    void FitVideoToPlayRegion();       // video window over "playregion" unless full screen

    // Configuration (settings/): overlays cfg.cfg on m_effect.
    void LoadConfig();

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
    void RunPictureCommand(unsigned command);         // an item, by its button's or key's operation
    void PlayFromStart();              // the open file again from 0, where it was left forgotten
    void ShowFileInFolder();           // Explorer on the open file's folder, the file selected

    // Screenshots (playback/Screenshot.cpp).
    bool HandleScreenshotKey(WPARAM key);   // Ctrl+S takes one; false for other keys
    void TakeScreenshot();             // the engine's last picture as PNG; the title says where

    // A status text held over the polled one (playback/StatusNotice.cpp).
    void ShowStatusNotice(LPCTSTR text, ULONGLONG milliseconds = userstate::kResumeNoticeMs);
    void HoldStatusNotice();

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
    int m_bSeeking = 0;                        // the user moved the seek slider; polling leaves it
    std::vector<std::wstring> m_vecPaths;      // full paths of the list rows
    EffectSettings m_effect{1, 0};             // ellipse, no effect until cfg.cfg says otherwise
    float m_fResumePos = 0.0f;                 // fraction to seek to when timer 3 fires
    userstate::StateKeeper m_userState;
    CDuiString m_strStatusNotice;              // shown until m_noticeUntilTick, when not empty
    ULONGLONG m_noticeUntilTick = 0;
    int m_nStatusWidth = -1;                   // the status text's own width while a notice widens it

private:
    // Shows whichever of "btn_max"/"btn_restore" fits the window state.
    void ShowMaximizedButtons(bool bMaximized);

    playlist::PathIndex m_pathIndex;           // m_vecPaths by case-blind key, for IsPathInList
    std::vector<std::vector<std::wstring>> m_forwardedPaths;   // received, not yet opened
    int m_wheelRest = 0;                       // wheel delta short of a notch

public:
    CSeekPreview m_seekPreview;                // over "slider_play"
};

// Lets files be dropped on hwnd and a second start's paths reach it, also when we run
// elevated and the sender does not.
void AcceptOpenRequests(HWND hwnd);

} // namespace DuiLib

// The one main window object; set before its native window exists, cleared after the loop.
extern DuiLib::CMainFrame* g_pMainFrame;
