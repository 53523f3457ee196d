// Saves the settings window as the player shows it, over a real main window:
//   settings_gallery.exe [output folder]
// the effects page with the default ellipse, the water-drop choice, and the
// information page.
#include <cstdio>

#include "app/frame_harness.h"
#include "settings/SystemInfoFrame.h"
#include "support/screenshot.h"

using namespace DuiLib;

int wmain(int argc, wchar_t** argv) {
    const std::wstring folder = argc > 1 ? argv[1] : L"";
    CMainFrame* frame = apptest::OpenMainFrame();
    if (!frame) {
        std::fwprintf(stderr, L"the main window cannot be built\n");
        return 1;
    }
    g_pMainFrame = frame;
    frame->m_effect = {1, 0};

    // Created as the settings button creates it, but not modal, so this program can
    // turn its pages between pictures.
    CSystemInfoFrame settings;
    if (!settings.Create(frame->GetHWND(), L"SystemConfigFrame", 0x96C80000, 0, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, nullptr)) {
        std::fwprintf(stderr, L"the settings window cannot be built\n");
        return 1;
    }
    settings.CenterWindow();
    auto save = [&](const wchar_t* name) { return testsupport::SaveGalleryPng(settings.GetHWND(), folder, name); };
    bool ok = save(L"settings-effects.png");
    if (settings.m_pComboShape)
        settings.m_pComboShape->SelectItem(2, false);
    ok &= save(L"settings-waterdrop.png");
    if (settings.m_pListType)
        settings.m_pListType->SelectItem(1, false);
    ok &= save(L"settings-info.png");

    ::DestroyWindow(settings.GetHWND());
    g_pMainFrame = nullptr;
    apptest::DestroyMainFrame(frame);
    return ok ? 0 : 1;
}
