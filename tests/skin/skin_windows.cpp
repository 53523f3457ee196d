#include "skin/skin_windows.h"

namespace skintest {

std::unique_ptr<SkinWindow> ShowLayout(Layout layout, int x, int y)
{
    std::unique_ptr<SkinWindow> wnd;
    switch (layout) {
    case Layout::Main: wnd = std::make_unique<SkinWindow>(L"PlayerMainWnd", L"", L"MainFrame.xml"); break;
    case Layout::Playbar: wnd = std::make_unique<SkinWindow>(L"PlayerBarWnd", L"", L"PlaybarFrame.xml"); break;
    case Layout::SystemInfo: wnd = std::make_unique<SkinWindow>(L"SystemInfoWnd", L"", L"SystemInfoFrame.xml"); break;
    // The player asks for this one under the folder "Res"; the archive has it at the root.
    case Layout::Video: wnd = std::make_unique<SkinWindow>(L"VideoRealWnd", L"Res", L"VideoRealWnd.xml"); break;
    }
    // CW_USEDEFAULT size: the library gives the window its layout's size.
    if (!wnd->Create(nullptr, wnd->GetWindowClassName(), WS_POPUP | WS_CLIPCHILDREN, 0, x, y,
                     CW_USEDEFAULT, CW_USEDEFAULT))
        return nullptr;
    ::SetWindowPos(wnd->GetHWND(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    wnd->ShowWindow(true, false);
    return wnd;
}

} // namespace skintest
