// Times (a) building "MainFrame.xml" from the skin archive into a control tree and
// (b) one full repaint of the 840x600 main window, and (c) parsing an element with
// 100,000 attributes; prints medians in milliseconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "duilib/UIBuilder.h"
#include "duilib/UIControl.h"
#include "duilib/UIManager.h"
#include "duilib/UIMarkup.h"
#include "duilib/UIRender.h"
#include "duilib/UIResource.h"

using namespace DuiLib;

namespace {

constexpr int kWidth = 840;
constexpr int kHeight = 600;

double Now()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / frequency;
}

struct Stats {
    double median, best, p90;
};

Stats Measure(int runs, const std::function<void()>& body)
{
    body();  // warm caches (decoded images, glyphs, fonts)
    std::vector<double> times;
    times.reserve(static_cast<size_t>(runs));
    for (int i = 0; i < runs; ++i) {
        const double start = Now();
        body();
        times.push_back(Now() - start);
    }
    std::sort(times.begin(), times.end());
    return Stats{times[times.size() / 2], times.front(), times[times.size() * 9 / 10]};
}

void Report(const char* what, const Stats& s, double aim = 0)
{
    std::printf("%-34s median %7.3f ms  (best %.3f, p90 %.3f)", what, s.median, s.best, s.p90);
    if (aim > 0) std::printf("  aim <= %.0f ms: %s", aim, s.median <= aim ? "met" : "MISSED");
    std::printf("\n");
}

LRESULT CALLBACK BenchWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND MakeWindow()
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = BenchWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MorvaneUiBench";
    RegisterClassW(&wc);
    RECT rc{0, 0, kWidth, kHeight};
    AdjustWindowRectEx(&rc, WS_POPUP, FALSE, 0);
    return CreateWindowExW(0, wc.lpszClassName, L"ui_bench", WS_POPUP, 0, 0, rc.right - rc.left,
                           rc.bottom - rc.top, nullptr, nullptr, wc.hInstance, nullptr);
}

} // namespace

int main()
{
    if (!CSkinSource::UseResource(GetModuleHandleW(nullptr), 131)) {
        std::fprintf(stderr, "ui_bench: no skin archive in the executable\n");
        return 1;
    }
    HWND hwnd = MakeWindow();
    if (!hwnd) {
        std::fprintf(stderr, "ui_bench: cannot create a window (no display?)\n");
        return 1;
    }

    // (a) read, parse and build the main layout, with the manager receiving fonts and defaults.
    bool buildFailed = false;
    const Stats build = Measure(200, [&] {
        CPaintManagerUI manager;
        CDialogBuilder builder;
        CControlUI* root = builder.Create(L"MainFrame.xml", UILIB_FILE, nullptr, &manager);
        if (!root) buildFailed = true;
        else manager.AttachDialog(root);  // the manager destroys it with itself
    });
    if (buildFailed) {
        std::fprintf(stderr, "ui_bench: MainFrame.xml did not build\n");
        return 1;
    }

    // (b) one full repaint of the laid-out window into its back buffer and onto a DC.
    CPaintManagerUI manager;
    manager.Init(hwnd);
    CDialogBuilder builder;
    manager.AttachDialog(builder.Create(L"MainFrame.xml", UILIB_FILE, nullptr, &manager));
    HDC screen = GetDC(hwnd);
    HDC target = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kWidth, kHeight);
    HGDIOBJ old = SelectObject(target, bitmap);
    manager.UpdateLayout();
    if (!manager.FindControl(L"btn_restore") || !manager.FindControl(L"slider_volumn")) {
        std::fprintf(stderr, "ui_bench: the main layout lacks controls it declares\n");
        return 1;
    }
    const Stats repaint = Measure(300, [&] { manager.PaintTo(target); });
    // A repaint that drew nothing would be fast and meaningless: check the title bar.
    const COLORREF title = GetPixel(target, kWidth / 2, 20);
    if (title != RGB(0x44, 0x5B, 0x84)) {
        std::fprintf(stderr, "ui_bench: title bar is %06lX, not the layout's 445B84\n", static_cast<unsigned long>(title));
        return 1;
    }

    // The primitives the repaint is made of, over the same area, for profiling.
    CCanvas canvas;
    canvas.Resize(kWidth, kHeight);
    const RECT all{0, 0, kWidth, kHeight};
    const Stats opaque = Measure(300, [&] { Render::FillRect(canvas, all, 0xFF1E1E1E); });
    const Stats translucent = Measure(300, [&] { Render::FillRect(canvas, all, 0x88000000); });
    HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"微软雅黑");
    const Stats text = Measure(300, [&] {
        Render::DrawText(canvas, RECT{10, 10, 300, 40}, L"没有视频在播放 00:00:00", 0xFFFFFFFF, font,
                         DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_END_ELLIPSIS);
    });

    // One element with 100,000 attributes: the parser must stay linear in them.
    std::string many = "<a";
    for (int i = 0; i < 100000; ++i) many += " n" + std::to_string(i) + "='v'";
    many += "/>";
    const Stats manyAttributes = Measure(5, [&] {
        CMarkupNode root;
        ParseMarkup(many.data(), many.size(), root);
    });

    std::printf("ui_bench: main window %dx%d\n", kWidth, kHeight);
    Report("build MainFrame.xml (parse+tree)", build, 20);
    Report("full repaint", repaint, 5);
    Report("  opaque fill 840x600", opaque);
    Report("  translucent fill 840x600", translucent);
    Report("  one line of text", text);
    Report("parse 100,000 attributes", manyAttributes);

    DeleteObject(font);
    SelectObject(target, old);
    DeleteObject(bitmap);
    DeleteDC(target);
    ReleaseDC(hwnd, screen);
    DestroyWindow(hwnd);
    return 0;
}
