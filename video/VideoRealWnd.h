#pragma once
// CVideoRealWnd: the child window the engine draws into. It lies over the main
// window's "playregion", shows "没有视频在播放" (or the name of a file of sound alone)
// wherever the engine has not drawn,
// and turns gestures on the picture into commands: a click pauses or resumes, a
// double-click and Escape switch full screen, Enter and Space pause or resume, a
// right-click opens the picture's menu.
#include "duilib/UIlib.h"

namespace DuiLib {

class CPlayBarFrame;

// Timer of the video window that hides the full-screen bar after inactivity.
inline constexpr UINT_PTR kTimerPlayBar = 1;
// Switches the display when a double-click's release never comes.
inline constexpr UINT_PTR kTimerToggleWithoutRelease = 2;

class CVideoRealWnd : public WindowImplBase {
public:
    CVideoRealWnd() = default;
    // Ends a native window left in full screen, then releases the bar.
    ~CVideoRealWnd() override;

    LPCTSTR GetWindowClassName() const override;     // "VideoRealWnd"
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void InitWindow() override;                      // creates the full-screen bar
    CDuiString GetSkinFolder() override;             // "Res"
    CDuiString GetSkinFile() override;               // "VideoRealWnd.xml"
    UINT GetResourceType() override;                 // zipped skin in a resource
    UINT GetResourceID() override;                   // 131
    LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override;   // Return and Escape are ours
    LRESULT OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnLButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

    // What stands where no picture is drawn: "没有视频在播放", or the name of a file of
    // sound alone while it is open. Repaints only on a change.
    void ShowNoVideoText(LPCTSTR text);
    CDuiString NoVideoText();

    // Full screen (video/FullScreen.cpp).
    void ToggleFullScreen();           // windowed <-> full screen over the primary screen
    void ShowPlayBar(bool bShow);      // shows the bar in full screen; hides it otherwise

    WINDOWPLACEMENT m_wndPlacement{};  // placement inside the main window, saved on entry
    int m_bFullScreen = 0;             // 1 while covering the screen
    int m_bPlayBarShown = 0;           // 1 while the full-screen bar is shown
    DWORD m_dwLastActivity = 0;        // tick of the last activity on the shown bar; 0 when hidden
    CPlayBarFrame* m_pPlayBar = nullptr;   // owned full-screen bar; null if its creation failed

private:
    // Hides the bar and stops its timer (the click, leaving full screen, inactivity).
    void HidePlayBar();
    // The full-screen switch a double-click asked for, once its release is handled.
    void ToggleAfterDoubleClick();

    bool m_bToggleOnRelease = false;   // a double-click waits for its release to switch
};

} // namespace DuiLib
