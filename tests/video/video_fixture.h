#pragma once
// A real main window, its video window fitted over the play region, and the recording engine,
// for the video window's and the full-screen bar's tests: waits, rectangles, posted input.
#include "app/frame_harness.h"
#include "video/VideoRealWnd.h"

namespace videotest {

using Commands = std::vector<std::string>;

using testsupport::PumpUntil;

inline RECT WindowRectOf(HWND hwnd) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    return rc;
}

inline std::string Text(const RECT& rc) {
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
           std::to_string(rc.bottom);
}

inline RECT ScreenRect() { return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

class VideoFixture : public apptest::MainWindowFixture {
protected:
    explicit VideoFixture(bool polling = true)
        : MainWindowFixture({.global = true, .polling = polling, .clearEngine = false}) {}
    void SetUpWindow() override {
        ASSERT_NE(frame->m_pVideoWnd, nullptr);
        video = frame->m_pVideoWnd;
        hMain = frame->GetHWND();
        hVideo = video->GetHWND();
        ASSERT_TRUE(PumpUntil([&] { return CoversRegion(); })) << "no first fit";
        apptest::Engine(frame).Clear();
    }

    RECT RegionOnScreen() const {
        RECT rc = apptest::Find(frame, L"playregion")->GetPos();
        MapWindowPoints(hMain, nullptr, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
    bool CoversRegion() const { return Text(WindowRectOf(hVideo)) == Text(RegionOnScreen()); }
    void Post(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
        PostMessageW(hVideo, msg, wParam, lParam);
        testsupport::PumpIdle();
    }
    void PressKey(WPARAM key) { Post(WM_KEYDOWN, key, 1); }
    void ClickVideo() {
        Post(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
        Post(WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    }

    DuiLib::CVideoRealWnd* video = nullptr;
    HWND hMain = nullptr;
    HWND hVideo = nullptr;
};

} // namespace videotest
