#pragma once
// The file-system side of the user's state: where the file lives, reading it whole,
// replacing it in one step, and what identifies a played file.
#include <optional>
#include <string>
#include "state/UserState.h"

namespace userstate {

// %APPDATA%\Morvane\state.json; empty when the user's folder is unknown.
std::wstring StateFilePath();

// The file's bytes; empty when it is missing, unreadable or implausibly large.
std::string ReadStateFile(const std::wstring& path);

// Writes the bytes to a temporary file beside path and then moves it over path, so a
// crash leaves either the old file or the new one. Creates the folder when needed.
// False, with the old file untouched, when any step fails.
bool ReplaceStateFile(const std::wstring& path, const std::string& bytes);

// The file's path, size and last write time; none when it cannot be read (missing,
// a folder).
std::optional<FileKey> KeyOfFile(const std::wstring& path);

} // namespace userstate
