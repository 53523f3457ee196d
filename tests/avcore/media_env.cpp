#include "media_env.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "support/paths.h"

namespace avtest {

namespace {

void FillOwnColour(HWND hwnd, HDC dc)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    SetDCBrushColor(dc, TestWindow::kOwnColour);
    FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

} // namespace

std::string MediaPath(const char* name)
{
    const std::wstring dir = testsupport::WindowsPathFromEnv("MORVANE_MEDIA");
    return (dir.empty() ? std::string("build\\media") : std::string(dir.begin(), dir.end())) + "\\" + name;
}

std::wstring CapturePath()
{
    return testsupport::WindowsPathFromEnv("MORVANE_AUDIO_CAPTURE");
}

std::vector<uint8_t> ReadMedia(const char* name)
{
    std::ifstream in(MediaPath(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

double MeanDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    if (a.size() != b.size() || a.empty()) return 255.0;
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i) sum += std::abs(static_cast<int>(a[i]) - static_cast<int>(b[i]));
    return sum / static_cast<double>(a.size());
}

HWND HostWindow()
{
    static const HWND host = CreateWindowExW(0, L"STATIC", L"avtest host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                             0, 0, 800, 600, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    return host;
}

TestWindow::TestWindow(int width, int height)
{
    [[maybe_unused]] static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &TestWindow::Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = L"MorvaneAvTestWindow";
        return RegisterClassW(&wc);
    }();
    m_hwnd = CreateWindowExW(0, L"MorvaneAvTestWindow", L"avtest", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0,
                             width, height, HostWindow(), nullptr, GetModuleHandleW(nullptr), this);
}

TestWindow::~TestWindow()
{
    if (m_hwnd && IsWindow(m_hwnd)) DestroyWindow(m_hwnd);
}

LRESULT CALLBACK TestWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self) {
        switch (msg) {
        case WM_PAINT: {
            ++self->paints;
            PAINTSTRUCT ps;
            FillOwnColour(hwnd, BeginPaint(hwnd, &ps));
            EndPaint(hwnd, &ps);
            return 0;
        }
        // PrintWindow (the screenshot helper) asks this way.
        case WM_PRINTCLIENT: FillOwnColour(hwnd, reinterpret_cast<HDC>(wp)); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_LBUTTONDOWN: ++self->clicks; return 0;
        case WM_LBUTTONDBLCLK: ++self->doubleClicks; return 0;
        case WM_KEYDOWN: ++self->keys; return 0;
        case WM_TIMER: ++self->timers; return 0;
        case WM_SIZE: ++self->sizes; break;
        case WM_NCDESTROY: self->m_hwnd = nullptr; break;
        default: break;
        }
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

double Seconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

DWORD HandleCount()
{
    DWORD n = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &n) && n > 0) return n;
    // Wine answers 0: count the handle values that are open instead.
    DWORD flags = 0;
    for (uintptr_t h = 4; h < 0x20000; h += 4)
        if (GetHandleInformation(reinterpret_cast<HANDLE>(h), &flags)) ++n;
    return n;
}

} // namespace avtest
