// The picture menu's items. Each names the key that does the same, so the menu
// also teaches the keys; items without a key of their own show none.
#include "video/PictureMenuModel.h"

#include <cmath>
#include <cstdio>
#include <cwctype>

#include "app/PlayerCommands.h"
#include "app/PlayerTexts.h"
#include "avcore/avplayer.h"
#include "state/ResumePositions.h"

namespace picturemenu {

namespace {

MenuEntry Item(Command command, const wchar_t* label, const wchar_t* key, bool enabled) {
    std::wstring text = label;
    if (key)
        text += std::wstring(L"\t") + key;
    return MenuEntry{command, std::move(text), enabled, {}};
}

MenuEntry Separator() { return MenuEntry{}; }

MenuEntry Choice(int first, size_t index, std::wstring text, bool checked, bool enabled = true) {
    return MenuEntry{static_cast<Command>(first + static_cast<int>(index)), std::move(text), enabled, {}, checked};
}

constexpr int kSpeedChoices = static_cast<int>((avplayer::kMaxSpeed - avplayer::kMinSpeed) / playercmd::kSpeedStep) + 1;

// Tags as Media Foundation gives them (two letters) and as containers keep them (three).
std::wstring LanguageName(const std::wstring& tag) {
    static const struct {
        const wchar_t* name;
        std::vector<std::wstring> tags;
    } kNames[] = {
        {L"中文", {L"zh", L"chi", L"zho"}}, {L"英语", {L"en", L"eng"}}, {L"日语", {L"ja", L"jpn"}},
        {L"韩语", {L"ko", L"kor"}},        {L"法语", {L"fr", L"fre", L"fra"}}, {L"德语", {L"de", L"ger", L"deu"}},
        {L"西班牙语", {L"es", L"spa"}},   {L"俄语", {L"ru", L"rus"}},
    };
    std::wstring primary = tag.substr(0, tag.find(L'-'));
    for (wchar_t& c : primary)
        c = static_cast<wchar_t>(towlower(c));
    if (primary.empty() || primary == L"und")
        return {};
    for (const auto& entry : kNames)
        for (const std::wstring& t : entry.tags)
            if (primary == t)
                return entry.name;
    return tag;
}

std::wstring ChannelsText(int channels) {
    switch (channels) {
    case 0: return {};
    case 1: return L"单声道";
    case 2: return L"立体声";
    case 6: return L"5.1";
    case 8: return L"7.1";
    default: return std::to_wstring(channels) + L" 声道";
    }
}

MenuEntry AudioTrackMenu(const PlayerView& view) {
    MenuEntry menu{kNone, L"音轨", view.audioTracks.size() > 1, {}};
    for (size_t i = 0; i < view.audioTracks.size() && i < kMaxMenuChoices; ++i)
        menu.children.push_back(Choice(kAudioTrackFirst, i, AudioTrackText(view.audioTracks[i]),
                                       view.audioTracks[i].number == view.audioTrack));
    if (menu.children.empty())  // a submenu needs a line to be one
        menu.children.push_back(Choice(kAudioTrackFirst, 0, L"无", false, false));
    return menu;
}

MenuEntry SpeedMenu(const PlayerView& view) {
    MenuEntry menu{kNone, L"倍速", true, {}};
    for (int i = 0; i < kSpeedChoices; ++i) {
        const double speed = avplayer::kMinSpeed + i * playercmd::kSpeedStep;
        wchar_t number[16];
        std::swprintf(number, 16, L"%.2f", speed);
        std::wstring text = number;   // "0.5x", "1.0x", "1.25x"
        if (text.back() == L'0')
            text.pop_back();
        menu.children.push_back(Choice(kSpeedFirst, static_cast<size_t>(i), text + L"x", std::fabs(speed - view.speed) < 1e-6));
    }
    return menu;
}

MenuEntry SubtitleMenu(const PlayerView& view, bool open) {
    MenuEntry menu{kNone, L"字幕", open, {}};
    const bool shown = view.subtitlesShown && !view.subtitle.empty();
    for (size_t i = 0; i < view.subtitles.size() && i < kMaxMenuChoices; ++i) {
        const std::wstring& path = view.subtitles[i];
        menu.children.push_back(Choice(kSubtitleFileFirst, i, path.substr(path.find_last_of(L"\\/") + 1),
                                       shown && userstate::SameFilePath(path, view.subtitle)));
    }
    if (!menu.children.empty())
        menu.children.push_back(Separator());
    menu.children.push_back(MenuEntry{kSubtitlesOff, L"关闭字幕", true, {}, !shown});
    menu.children.push_back(Item(kLoadSubtitles, L"加载字幕…", nullptr, true));
    return menu;
}

} // namespace

std::wstring AudioTrackText(const TrackView& track) {
    std::wstring text = std::to_wstring(track.number);
    for (const std::wstring& part : {LanguageName(track.language), ChannelsText(track.channels)})
        if (!part.empty())
            text += L" " + part;
    return text;
}

double SpeedOf(Command command) {
    const int step = static_cast<int>(command) - kSpeedFirst;
    return step >= 0 && step < kSpeedChoices ? avplayer::kMinSpeed + step * playercmd::kSpeedStep : 0.0;
}

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
        AudioTrackMenu(view),
        SpeedMenu(view),
        SubtitleMenu(view, open),
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
