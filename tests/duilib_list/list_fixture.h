#pragma once
// Shared by the list and combo tests: a skinned host window built from layouts
// written here, and a log of the notifications the host receives.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "duilib/UIlib.h"
#include "support/memory_skin.h"
#include "support/pump.h"
#include "support/recording_host.h"
#include "support/screenshot.h"

namespace listtest {

// A skinned window whose layout comes from the skin source; it records every notification.
class HostWnd : public testsupport::RecordingHost {
public:
    explicit HostWnd(const wchar_t* skinFile) : RecordingHost(skinFile) {}
    LPCTSTR GetWindowClassName() const override { return L"MorvaneListTestHost"; }
    // A fresh control tree from the layout, in the same window; forgets the notifications.
    bool Reload() {
        DuiLib::CDialogBuilder builder;
        DuiLib::CControlUI* root = builder.Create(skin.c_str(), DuiLib::UILIB_FILE, this, &m_PaintManager);
        if (!root) return false;
        m_PaintManager.AttachDialog(root);
        m_PaintManager.UpdateLayout();
        notes.clear();
        onNotify = nullptr;
        return true;
    }
};

inline void Click(HWND hwnd, POINT pt, bool twice = false) {
    const LPARAM at = MAKELPARAM(pt.x, pt.y);
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, at);
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
    if (twice) {
        ::SendMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        ::SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
    }
}

inline POINT Center(const RECT& rc) { return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }

// A test suite over one shared host, each test on a fresh tree of its layout: under Wine
// without a window manager, destroying a window that was ever active waits 2 s.
class SharedHostTest : public ::testing::Test {
protected:
    static void TearDownTestSuite() { CloseHost(); }
    static void CloseHost() {
        if (sharedHost && ::IsWindow(sharedHost->GetHWND())) ::DestroyWindow(sharedHost->GetHWND());
        testsupport::PumpIdle();
        sharedHost.reset();
    }

    HostWnd* OpenHost(const wchar_t* skinFile, int width, int height) {
        if (sharedHost && ::IsWindow(sharedHost->GetHWND())) {
            host = sharedHost->Reload() ? sharedHost.get() : nullptr;
        } else {
            sharedHost = std::make_unique<HostWnd>(skinFile);
            const HWND created = sharedHost->Create(nullptr, L"host", WS_POPUP | WS_VISIBLE, 0, 40, 40, width, height);
            host = created ? sharedHost.get() : nullptr;
        }
        hwnd = host ? host->GetHWND() : nullptr;
        return host;
    }
    template <class T> T* Find(const wchar_t* name) { return static_cast<T*>(host->Manager().FindControl(name)); }
    // Clicks the combo and lets its drop-down lay out.
    HWND DropDown(DuiLib::CComboUI* combo) {
        Click(hwnd, Center(combo->GetPos()));
        testsupport::PumpIdle();
        return combo->GetDropWindow();
    }

    static inline std::unique_ptr<HostWnd> sharedHost;
    HostWnd* host = nullptr;
    HWND hwnd = nullptr;
};

// A click at a point of hostWnd while captureWnd holds the mouse: the system hands it
// to the capturing window in that window's coordinates.
inline void ClickCaptured(HWND captureWnd, HWND hostWnd, POINT pt) {
    ::MapWindowPoints(hostWnd, captureWnd, &pt, 1);
    const LPARAM at = MAKELPARAM(pt.x, pt.y);
    ::SendMessageW(captureWnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(captureWnd, WM_LBUTTONUP, 0, at);
}

inline void Key(HWND hwnd, WPARAM key) {
    ::SendMessageW(hwnd, WM_KEYDOWN, key, 1);
    ::SendMessageW(hwnd, WM_KEYUP, key, 0xC0000001);
}

using Shot = testsupport::Shot;

inline Shot Capture(HWND hwnd) {
    Shot s;
    testsupport::CaptureWindow(hwnd, s);
    return s;
}

} // namespace listtest
