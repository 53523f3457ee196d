#pragma once
// Shared by the library core tests: a skin archive written here, a
// skinned window that logs its hooks and notifications, and mouse helpers.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "duilib/UIlib.h"
#include "support/memory_skin.h"
#include "support/pump.h"
#include "support/recording_host.h"

namespace coretest {

// The test layout: a 400x300 window with a caption bar, a slider, buttons and a probe.
inline const char* kTestLayout =
    "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<Window size=\"400,300\" caption=\"0,0,0,30\" sizebox=\"4,4,4,4\" mininfo=\"300,200\" maxinfo=\"800,600\">\n"
    "  <Font name=\"\xE5\xBE\xAE\xE8\xBD\xAF\xE9\x9B\x85\xE9\xBB\x91\" size=\"12\" default=\"true\"/>\n"
    "  <Font name=\"\xE5\xBE\xAE\xE8\xBD\xAF\xE9\x9B\x85\xE9\xBB\x91\" size=\"16\" bold=\"true\"/>\n"
    "  <Default name=\"Button\" value=\"textcolor=&quot;#FF112233&quot; bkcolor=&quot;0xFF8090A0&quot;\"/>\n"
    "  <VerticalLayout name=\"root\" bkcolor=\"#FFFFFFFF\">\n"
    "    <HorizontalLayout name=\"caption\" height=\"30\" bkcolor=\"0xff445b84\">\n"
    "      <Label name=\"title\" text=\"Title\" width=\"100\" mouse=\"false\" textcolor=\"#FFFFFFFF\" font=\"1\"/>\n"
    "      <Control name=\"spacer\"/>\n"
    "      <Button name=\"btn_close\" width=\"30\" tooltip=\"Close it\" text=\"X\" bkcolor=\"0xFFCC3333\"/>\n"
    "    </HorizontalLayout>\n"
    "    <Slider name=\"slider\" height=\"20\" min=\"0\" max=\"1000\" value=\"500\" thumbsize=\"20,12\" interval=\"8\" padding=\"10,10,10,10\"/>\n"
    "    <HorizontalLayout height=\"40\">\n"
    "      <Button name=\"btn_ok\" width=\"100\" text=\"OK\"/>\n"
    "      <Button name=\"btn_off\" width=\"100\" text=\"Off\" enabled=\"false\"/>\n"
    "      <Option name=\"opt_a\" width=\"60\" group=\"g\" selected=\"true\" text=\"A\"/>\n"
    "      <Option name=\"opt_b\" width=\"60\" group=\"g\" text=\"B\"/>\n"
    "    </HorizontalLayout>\n"
    "    <Probe name=\"probe\" height=\"50\"/>\n"
    "    <Control name=\"filler\"/>\n"
    "  </VerticalLayout>\n"
    "</Window>\n";

// Installs an archive holding the test layout (plus any extra members).
inline void UseTestSkin(std::vector<std::pair<std::string, std::string>> extra = {}) {
    extra.insert(extra.begin(), {"Test.xml", kTestLayout});
    testsupport::UseMemorySkin(extra);
}

// A control of a class only the window knows; it logs the events it gets.
class ProbeUI : public DuiLib::CControlUI {
public:
    explicit ProbeUI(std::vector<std::wstring>* log) : m_log(log) {}
    LPCTSTR GetClass() const override { return L"ProbeUI"; }
    void DoEvent(DuiLib::TEventUI& event) override {
        if (event.Type == DuiLib::UIEvent::ButtonDown) m_log->push_back(L"probe:ButtonDown");
        if (event.Type == DuiLib::UIEvent::ButtonUp) m_log->push_back(L"probe:ButtonUp");
        DuiLib::CControlUI::DoEvent(event);
    }

private:
    std::vector<std::wstring>* m_log;
};

// A skinned window that records its hooks and notifications in order.
class TestWnd : public testsupport::RecordingHost {
public:
    TestWnd() : RecordingHost(L"Test.xml") {}
    std::wstring folder;
    std::vector<std::wstring> log;
    std::function<void()> onFinal;
    std::function<void()> onClick;   // last thing OnClick does: it may destroy the window
    bool laidOutAtInit = false;

    LPCTSTR GetWindowClassName() const override { return L"MorvaneCoreTestWnd"; }
    DuiLib::CDuiString GetSkinFolder() override { return folder.c_str(); }
    // Creates the window at the size its skin asks for.
    HWND Open(const wchar_t* title, DWORD style = WS_POPUP | WS_VISIBLE, int x = 0, int y = 0, HWND parent = nullptr) {
        return Create(parent, title, style, 0, x, y, CW_USEDEFAULT, CW_USEDEFAULT);
    }
    template <class T> T* Find(const wchar_t* name) { return static_cast<T*>(m_PaintManager.FindControl(name)); }

    void InitWindow() override {
        log.push_back(L"InitWindow");
        DuiLib::CControlUI* ok = m_PaintManager.FindControl(L"btn_ok");
        laidOutAtInit = ok && ok->GetWidth() == 100 && ok->GetHeight() == 40;
    }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override {
        if (uMsg == WM_LBUTTONDOWN) log.push_back(L"HandleMessage:LBUTTONDOWN");
        if (uMsg == WM_CREATE) log.push_back(L"HandleMessage:CREATE");
        if (uMsg == WM_DESTROY) log.push_back(L"HandleMessage:DESTROY");
        return WindowImplBase::HandleMessage(uMsg, wParam, lParam);
    }
    LRESULT OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override {
        log.push_back(L"OnLButtonDown");
        return WindowImplBase::OnLButtonDown(uMsg, wParam, lParam, bHandled);
    }
    void Notify(DuiLib::TNotifyUI& msg) override {
        RecordingHost::Notify(msg);
        WindowImplBase::Notify(msg);
    }
    void OnClick(DuiLib::TNotifyUI& msg) override {
        log.push_back(L"OnClick:" + std::wstring(msg.pSender->GetName()));
        if (onClick) onClick();
    }
    DuiLib::CControlUI* CreateControl(LPCTSTR pstrClass) override {
        if (wcscmp(pstrClass, L"Probe") == 0) return new ProbeUI(&log);
        return nullptr;
    }
    void OnFinalMessage(HWND hWnd) override {
        log.push_back(GetHWND() == nullptr ? L"OnFinalMessage" : L"OnFinalMessage(with handle)");
        WindowImplBase::OnFinalMessage(hWnd);
        if (onFinal) onFinal();
    }
};

inline LPARAM At(int x, int y) { return MAKELPARAM(x, y); }
inline void Down(HWND h, int x, int y) { ::SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y)); }
inline void Move(HWND h, int x, int y, bool pressed = true) {
    ::SendMessageW(h, WM_MOUSEMOVE, pressed ? MK_LBUTTON : 0, At(x, y));
}
inline void Up(HWND h, int x, int y) { ::SendMessageW(h, WM_LBUTTONUP, 0, At(x, y)); }
inline void Hover(HWND h, POINT p) {
    Move(h, p.x, p.y, false);
    ::SendMessageW(h, WM_MOUSEHOVER, 0, At(p.x, p.y));
}
inline void Click(HWND h, POINT p) {
    Down(h, p.x, p.y);
    Up(h, p.x, p.y);
}
// A plain control of a fixed size (0: flexible).
inline DuiLib::CControlUI* Fixed(int cx, int cy, RECT padding = {}) {
    auto* c = new DuiLib::CControlUI;
    c->SetFixedWidth(cx);
    c->SetFixedHeight(cy);
    c->SetPadding(padding);
    return c;
}
inline POINT Center(DuiLib::CControlUI* c) {
    const RECT& rc = c->GetPos();
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

using testsupport::PumpIdle;

// The test skin installed, and the window a test opens destroyed when it ends.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { UseTestSkin(); }
    void TearDown() override {
        if (::IsWindow(h)) ::DestroyWindow(h);
        PumpIdle();
    }
    HWND Open(const wchar_t* title, DWORD style = WS_POPUP | WS_VISIBLE, int x = 0, int y = 0, HWND parent = nullptr) {
        return h = wnd.Open(title, style, x, y, parent);
    }

    TestWnd wnd;
    HWND h = nullptr;
};

} // namespace coretest
