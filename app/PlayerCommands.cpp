// The control-name table and the key map of the player's commands.
#include "app/PlayerCommands.h"

#include <windows.h>

#include <cwchar>

namespace playercmd {

namespace {

struct NamedControl {
    const wchar_t* name;
    Command command;
};

// The main window has them all; the full-screen bar the transport and mute pair.
constexpr NamedControl kControls[] = {
    {L"btn_close", Command::Close},       {L"btn_min", Command::Minimize},
    {L"btn_max", Command::Maximize},      {L"btn_restore", Command::Restore},
    {L"btn_setting", Command::Settings},  {L"btnadd", Command::AddFiles},
    {L"btndelete", Command::DeleteRow},   {L"btnclear", Command::ClearList},
    {L"btn_map_shrink", Command::ToggleList},
    {L"btn_play", Command::Play},         {L"btn_stop", Command::Stop},
    {L"btn_prev", Command::Previous},     {L"btn_next", Command::Next},
    {L"btn_mute", Command::Mute},         {L"btn_muteoff", Command::MuteOff},
    {L"btn_fullscreen", Command::FullScreen},
};

struct BoundKey {
    unsigned key;
    bool needsCtrl;   // otherwise Ctrl makes no difference
    Command command;
};

constexpr BoundKey kKeys[] = {
    {VK_SPACE, false, Command::PauseOrResume},   {VK_RETURN, false, Command::PauseOrResume},
    {VK_ESCAPE, false, Command::FullScreen},
    {VK_LEFT, false, Command::SeekBack},         {VK_RIGHT, false, Command::SeekForward},
    {VK_UP, false, Command::VolumeUp},           {VK_DOWN, false, Command::VolumeDown},
    {VK_OEM_4, false, Command::SlowerSpeed},     {VK_OEM_6, false, Command::FasterSpeed},
    {VK_BACK, false, Command::NormalSpeed},
    {'V', false, Command::ShowOrHideSubtitles},  {'Z', false, Command::EarlierSubtitles},
    {'X', false, Command::LaterSubtitles},
    {'S', true, Command::Screenshot},
};

} // namespace

Command CommandOfControl(const wchar_t* name) {
    if (!name)
        return Command::None;
    for (const NamedControl& control : kControls)
        if (std::wcscmp(control.name, name) == 0)
            return control.command;
    return Command::None;
}

Command CommandOfKey(unsigned key, bool ctrl) {
    for (const BoundKey& bound : kKeys)
        if (bound.key == key && (ctrl || !bound.needsCtrl))
            return bound.command;
    return Command::None;
}

bool IsArrowCommand(Command command) {
    return command == Command::SeekBack || command == Command::SeekForward || command == Command::VolumeUp ||
           command == Command::VolumeDown;
}

} // namespace playercmd
