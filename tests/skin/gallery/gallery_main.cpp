// Saves a PNG of each skinned window as the archive builds it: skin_gallery.exe [output folder]
// Besides the four at rest, the states whose art only shows after a change: the collapsed list
// panel, muted sound, hot buttons, the information page and an open combo box.
#include <windows.h>

#include <string>

#include "duilib/UIlib.h"
#include "skin/skin_windows.h"
#include "support/screenshot.h"

using namespace DuiLib;
using skintest::Layout;

namespace {

// Puts the pointer over a control so its hot face shows.
void Hover(skintest::SkinWindow& wnd, const wchar_t* name)
{
    if (CControlUI* control = wnd.Find(name)) {
        const RECT& rc = control->GetPos();
        wnd.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2));
    }
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring folder = argc > 1 ? argv[1] : L"";
    auto save = [&](HWND hwnd, const wchar_t* name) { return testsupport::SaveGalleryPng(hwnd, folder, name); };
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    bool ok = true;

    auto mainWnd = skintest::ShowLayout(Layout::Main, 0, 0);
    if (!mainWnd) return 1;
    ok &= save(mainWnd->GetHWND(), L"skin-main.png");
    if (auto* list = mainWnd->Find(L"listregion")) list->SetVisible(false);
    if (auto* shrink = mainWnd->Find<CButtonUI>(L"btn_map_shrink")) shrink->SetNormalImage(L"split_screen_left.png");
    if (auto* mute = mainWnd->Find(L"btn_mute")) mute->SetVisible(false);
    if (auto* muteOff = mainWnd->Find(L"btn_muteoff")) muteOff->SetVisible(true);
    Hover(*mainWnd, L"btn_play");
    ok &= save(mainWnd->GetHWND(), L"skin-main-collapsed.png");
    mainWnd->ShowWindow(false, false);

    auto bar = skintest::ShowLayout(Layout::Playbar, 0, 0);
    if (!bar) return 1;
    ok &= save(bar->GetHWND(), L"skin-playbar.png");
    bar->ShowWindow(false, false);

    auto info = skintest::ShowLayout(Layout::SystemInfo, 0, 0);
    if (!info) return 1;
    if (auto* shape = info->Find<CComboUI>(L"comb_shape")) shape->SelectItem(2, false);
    if (auto* preview = info->Find(L"shppreview")) preview->SetBkImage(L"shp\\shuidi.png");
    Hover(*info, L"btn_close");
    ok &= save(info->GetHWND(), L"skin-systeminfo.png");
    if (auto* effect = info->Find<CComboUI>(L"comb_effect"); effect && effect->Activate()) {
        ok &= save(effect->GetDropWindow(), L"skin-systeminfo-drop.png");
        effect->CloseDropDown();
    }
    if (auto* tab = info->Find<CTabLayoutUI>(L"tab_fun")) tab->SelectItem(1);
    ok &= save(info->GetHWND(), L"skin-systeminfo-info.png");
    info->ShowWindow(false, false);

    auto video = skintest::ShowLayout(Layout::Video, 0, 0);
    if (!video) return 1;
    ok &= save(video->GetHWND(), L"skin-video.png");

    for (auto* w : {mainWnd.get(), bar.get(), info.get(), video.get()}) ::DestroyWindow(w->GetHWND());
    return ok ? 0 : 1;
}
