#pragma once
// Where a screenshot goes and the texts about it, without any window: the folder
// under the user's profile, and a name made of the video's file name and the
// playback position, so pictures of one file sort by time.
#include <string>
#include "app/PlayerCommands.h"   // the key text beside the menu item

namespace screenshot {

inline constexpr const wchar_t* kTextSavedTo = L"截图已保存到 ";
inline constexpr const wchar_t* kTextNoPicture = L"截图失败：没有画面";
inline constexpr const wchar_t* kTextNotWritten = L"截图失败：无法写入 ";

// userProfile\Pictures\Morvane (no trailing backslash); empty when the profile is.
std::wstring ScreenshotFolder(const std::wstring& userProfile);

// "<file name>_hh-mm-ss.mmm.png" for the video at path, seconds into it. The file
// name keeps its extension, so a.mp4 and a.mkv never share a picture; a position
// that is not a time counts as 0.
std::wstring ScreenshotName(const std::wstring& videoPath, double seconds);

} // namespace screenshot
