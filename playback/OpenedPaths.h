#pragma once
// Files handed to the player from outside the add dialog: the command line (Explorer's
// "Open with", a file association, a shortcut), a second start forwarding its command
// line, and files or folders dropped on a window.
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace playlist {

// The paths of a command line, the program name skipped, each made absolute.
std::vector<std::wstring> PathsFromCommandLine(const wchar_t* commandLine);

// The files named by paths, in order: a file as it is, a folder as its files that match
// the add dialog's video patterns, sorted by name; anything else (missing, unreadable)
// is left out.
std::vector<std::wstring> ExpandToFiles(const std::vector<std::wstring>& paths);

// The name a row shows for a full path: the part after the last separator.
std::wstring DisplayName(const std::wstring& fullPath);

// True when the file name matches one of the add dialog's video patterns.
bool IsVideoFileName(const std::wstring& name);

// The paths of a drop (WM_DROPFILES); the drop itself is left to the caller to finish.
std::vector<std::wstring> PathsFromDrop(HDROP drop);

// The paths a second start forwards in WM_COPYDATA: each NUL-terminated, back to back.
inline constexpr ULONG_PTR kForwardedPathsTag = 0x4D565031;  // "MVP1"
inline constexpr size_t kMaxForwardedBytes = 16u << 20;
std::wstring PackPaths(const std::vector<std::wstring>& paths);
// The paths of a received block; nothing for a block of another shape or over the cap.
std::vector<std::wstring> UnpackPaths(const void* data, size_t bytes);

} // namespace playlist
