#pragma once
// Files handed to the player from outside the add dialog: the command line (Explorer's
// "Open with", a file association, a shortcut), a second start forwarding its command
// line, and files or folders dropped on a window.
#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace playlist {

// The paths of a command line, the program name skipped, each made absolute.
std::vector<std::wstring> PathsFromCommandLine(const wchar_t* commandLine);

// The files named by paths, in order: a file as it is, a folder as its files that match
// the add dialog's video patterns, sorted by name; anything else (missing, unreadable)
// is left out. Paths beyond MAX_PATH are reached through their \\?\ form and listed as
// given. It waits on the file system: never call it on the UI thread.
std::vector<std::wstring> ExpandToFiles(const std::vector<std::wstring>& paths);

// Test seam: called before each file-system call of ExpandToFiles, on its thread, with
// the path (or listing pattern) as the call is given it.
using FileSystemHook = void (*)(const std::wstring& path);
void SetFileSystemHook(FileSystemHook hook);

// The name a row shows for a full path: the part after the last separator.
std::wstring DisplayName(const std::wstring& fullPath);

// True when the file name matches one of the add dialog's video patterns.
bool IsVideoFileName(const std::wstring& name);

// The paths of a drop (WM_DROPFILES), which is then finished (freed). The handle comes
// from outside, so it is read only when it is a global block of the size it claims with
// its DROPFILES header, name offset and whole name list (wide or ANSI, ended by an empty
// name) inside it; any other handle gives nothing and is left alone, never freed.
std::optional<std::vector<std::wstring>> TakeDrop(HDROP drop);

// What an elevated window lets through from programs that are not: Explorer's drops
// (WM_DROPFILES and 0x0049, which carries their data across). Never WM_COPYDATA: a
// second start is elevated too, and any other sender would drive an administrator's
// process with it.
inline constexpr UINT kMessagesFromLowerPrograms[] = {WM_DROPFILES, 0x0049};

// The paths a second start forwards in WM_COPYDATA: each NUL-terminated, back to back.
inline constexpr ULONG_PTR kForwardedPathsTag = 0x4D565031;  // "MVP1"
inline constexpr size_t kMaxForwardedBytes = 16u << 20;
inline constexpr size_t kMaxForwardedPaths = 10000;
std::wstring PackPaths(const std::vector<std::wstring>& paths);
// The paths of a received block; nothing for a block of another shape or over a cap.
std::vector<std::wstring> UnpackPaths(const void* data, size_t bytes);

} // namespace playlist
