#include "skin/skin_windows.h"

#include <cstdio>

namespace skintest {

std::unique_ptr<SkinWindow> ShowLayout(Layout layout, int x, int y)
{
    // The player asks for the video window's layout under the folder "Res"; the archive has it at the root.
    static const struct { const wchar_t *className, *folder, *file; } kWindows[] = {
        {L"PlayerMainWnd", L"", L"MainFrame.xml"}, {L"PlayerBarWnd", L"", L"PlaybarFrame.xml"},
        {L"SystemInfoWnd", L"", L"SystemInfoFrame.xml"}, {L"VideoRealWnd", L"Res", L"VideoRealWnd.xml"}};
    const auto& kind = kWindows[static_cast<int>(layout)];
    auto wnd = std::make_unique<SkinWindow>(kind.className, kind.folder, kind.file);
    // CW_USEDEFAULT size: the library gives the window its layout's size.
    if (!wnd->Create(nullptr, kind.className, WS_POPUP | WS_CLIPCHILDREN, 0, x, y, CW_USEDEFAULT, CW_USEDEFAULT)) {
        using namespace DuiLib;
        CPaintManagerUI manager;
        CDialogBuilder builder;   // built again for the reason
        std::unique_ptr<CControlUI> root(builder.Create(kind.file, UILIB_ZIPRESOURCE, nullptr, &manager, kind.folder));
        std::fwprintf(stderr, L"%ls cannot be built: %ls\n", kind.file,
                      root ? L"the window refused creation" : builder.GetLastError().GetData());
        return nullptr;
    }
    ::SetWindowPos(wnd->GetHWND(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    wnd->ShowWindow(true, false);
    return wnd;
}

} // namespace skintest
