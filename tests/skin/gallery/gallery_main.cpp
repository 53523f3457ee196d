// Saves a PNG of each skinned window as the archive builds it: skin_gallery.exe [output folder]
// Besides the four at rest, the states whose art only shows after a change: the collapsed list
// panel, muted sound, hot buttons, the information page and an open combo box.
#include <windows.h>

#include <cstdio>
#include <string>

#include "duilib/UIlib.h"
#include "skin/skin_windows.h"
#include "support/pump.h"
#include "support/screenshot.h"

using namespace DuiLib;
using skintest::Layout;

namespace {

std::wstring g_folder;

bool Save(HWND hwnd, const wchar_t* name) { return testsupport::SaveGalleryPng(hwnd, g_folder, name); }

// Puts the pointer over a control so its hot face shows.
void Hover(skintest::SkinWindow& wnd, const wchar_t* name)
{
    if (CControlUI* control = wnd.Find(name)) {
        const RECT& rc = control->GetPos();
        wnd.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2));
    }
}

// Why a layout could not be built, for the failure message.
int Failed(const wchar_t* skinFile)
{
    CPaintManagerUI manager;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(skinFile, UILIB_ZIPRESOURCE, nullptr, &manager);
    std::fwprintf(stderr, L"%ls cannot be built: %ls\n", skinFile,
                  root ? L"the window refused creation" : builder.GetLastError().GetData());
    delete root;
    return 1;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc > 1) g_folder = argv[1];
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    bool ok = true;

    auto mainWnd = skintest::ShowLayout(Layout::Main, 0, 0);
    if (!mainWnd) return Failed(L"MainFrame.xml");
    ok &= Save(mainWnd->GetHWND(), L"skin-main.png");
    if (auto* list = mainWnd->Find(L"listregion")) list->SetVisible(false);
    if (auto* shrink = mainWnd->Find<CButtonUI>(L"btn_map_shrink")) shrink->SetNormalImage(L"split_screen_left.png");
    if (auto* mute = mainWnd->Find(L"btn_mute")) mute->SetVisible(false);
    if (auto* muteOff = mainWnd->Find(L"btn_muteoff")) muteOff->SetVisible(true);
    Hover(*mainWnd, L"btn_play");
    ok &= Save(mainWnd->GetHWND(), L"skin-main-collapsed.png");
    mainWnd->ShowWindow(false, false);

    auto bar = skintest::ShowLayout(Layout::Playbar, 0, 0);
    if (!bar) return Failed(L"PlaybarFrame.xml");
    ok &= Save(bar->GetHWND(), L"skin-playbar.png");
    bar->ShowWindow(false, false);

    auto info = skintest::ShowLayout(Layout::SystemInfo, 0, 0);
    if (!info) return Failed(L"SystemInfoFrame.xml");
    if (auto* shape = info->Find<CComboUI>(L"comb_shape")) shape->SelectItem(2, false);
    if (auto* preview = info->Find(L"shppreview")) preview->SetBkImage(L"shp\\shuidi.png");
    Hover(*info, L"btn_close");
    ok &= Save(info->GetHWND(), L"skin-systeminfo.png");
    if (auto* effect = info->Find<CComboUI>(L"comb_effect"); effect && effect->Activate()) {
        ok &= Save(effect->GetDropWindow(), L"skin-systeminfo-drop.png");
        effect->CloseDropDown();
    }
    if (auto* tab = info->Find<CTabLayoutUI>(L"tab_fun")) tab->SelectItem(1);
    ok &= Save(info->GetHWND(), L"skin-systeminfo-info.png");
    info->ShowWindow(false, false);

    auto video = skintest::ShowLayout(Layout::Video, 0, 0);
    if (!video) return Failed(L"VideoRealWnd.xml");
    ok &= Save(video->GetHWND(), L"skin-video.png");

    for (auto* w : {mainWnd.get(), bar.get(), info.get(), video.get()}) ::DestroyWindow(w->GetHWND());
    return ok ? 0 : 1;
}
