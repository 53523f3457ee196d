// The picture menu's items. Each names the key that does the same, so the menu
// also teaches the keys; items without a key of their own show none.
#include "video/PictureMenuModel.h"

#include "app/PlayerTexts.h"
#include "app/PlayerCommands.h"

namespace picturemenu {

namespace {

MenuEntry Item(Command command, const wchar_t* label, const wchar_t* key, bool enabled) {
    std::wstring text = label;
    if (key)
        text += std::wstring(L"\t") + key;
    return MenuEntry{command, std::move(text), enabled, {}};
}

MenuEntry Separator() { return MenuEntry{}; }

} // namespace

std::vector<MenuEntry> BuildPictureMenu(const PlayerView& view) {
    const bool open = DuiLib::IsOpenStatus(view.status);
    const bool listed = view.rows > 0;
    return {
        // Space pauses and resumes what is open; with nothing open the item plays the
        // selected row, as the play button does.
        Item(kPlayPause, L"播放/暂停", L"Space", open || listed),
        Item(kStop, L"停止", nullptr, open),
        Item(kPrevious, L"上一个", nullptr, listed),
        Item(kNext, L"下一个", nullptr, listed),
        Separator(),
        Item(kFullScreen, view.fullScreen ? L"退出全屏" : L"全屏", L"Esc", true),
        Separator(),
        Item(kFromStart, L"从头播放", nullptr, view.fileOpened),
        Item(kScreenshot, L"截图", screenshot::kKeyText, open),
        Item(kOpenFolder, L"打开文件所在位置", nullptr, view.fileOpened),
        Separator(),
        Item(kSettings, L"设置…", nullptr, true),
    };
}

const MenuEntry* FindEntry(const std::vector<MenuEntry>& menu, Command command) {
    for (const MenuEntry& entry : menu) {
        if (!entry.IsSeparator() && entry.command == command)
            return &entry;
        if (const MenuEntry* inner = FindEntry(entry.children, command))
            return inner;
    }
    return nullptr;
}

} // namespace picturemenu
