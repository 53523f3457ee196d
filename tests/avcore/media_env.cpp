#include "media_env.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace avtest {

namespace {

std::string Env(const char* name)
{
    char buf[1024];
    const DWORD n = GetEnvironmentVariableA(name, buf, sizeof(buf));
    return n > 0 && n < sizeof(buf) ? std::string(buf, n) : std::string();
}

std::string UnixToWindows(std::string path)
{
    if (path.empty() || path[0] != '/') return path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return "Z:" + path;
}

} // namespace

std::string MediaPath(const char* name)
{
    std::string dir = Env("MORVANE_MEDIA");
    if (dir.empty()) dir = "build/media";
    return UnixToWindows(dir) + "\\" + name;
}

std::wstring CapturePath()
{
    const std::string p = UnixToWindows(Env("MORVANE_AUDIO_CAPTURE"));
    return std::wstring(p.begin(), p.end());
}

std::vector<uint8_t> ReadMedia(const char* name)
{
    std::vector<uint8_t> data;
    FILE* f = fopen(MediaPath(name).c_str(), "rb");
    if (!f) return data;
    uint8_t buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof(buf), f)) > 0) data.insert(data.end(), buf, buf + n);
    fclose(f);
    return data;
}

double MeanDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    if (a.size() != b.size() || a.empty()) return 255.0;
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i) sum += std::abs(static_cast<int>(a[i]) - static_cast<int>(b[i]));
    return sum / static_cast<double>(a.size());
}

bool WaitFor(const std::function<bool()>& pred, DWORD timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (pred()) return true;
        if (GetTickCount64() >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

HWND HostWindow()
{
    static const HWND host = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        wc.lpszClassName = L"MorvaneAvTestHost";
        RegisterClassW(&wc);
        return CreateWindowExW(0, L"MorvaneAvTestHost", L"avtest host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                               0, 0, 800, 600, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }();
    return host;
}

TestWindow::TestWindow(int width, int height)
{
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &TestWindow::Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = L"MorvaneAvTestWindow";
        return RegisterClassW(&wc);
    }();
    (void)atom;
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
            HDC dc = BeginPaint(hwnd, &ps);
            HBRUSH brush = CreateSolidBrush(kOwnColour);
            RECT rc;
            GetClientRect(hwnd, &rc);
            FillRect(dc, &rc, brush);
            DeleteObject(brush);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_PRINTCLIENT: {  // PrintWindow (the screenshot helper) asks this way
            HBRUSH brush = CreateSolidBrush(kOwnColour);
            RECT rc;
            GetClientRect(hwnd, &rc);
            FillRect(reinterpret_cast<HDC>(wp), &rc, brush);
            DeleteObject(brush);
            return 0;
        }
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
    LARGE_INTEGER c, f;
    QueryPerformanceCounter(&c);
    QueryPerformanceFrequency(&f);
    return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
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
