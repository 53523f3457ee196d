#pragma once
// Joining an open-file dialog's result into the files it names.
#include <cstddef>
#include <string>
#include <vector>

namespace playlist {

// One chosen file: the folder joined with the name, and the name as the dialog gave it.
struct ChosenFile {
    std::wstring fullPath;
    std::wstring name;
};

// The files of a GetOpenFileNameW result, in the dialog's order. The folder is the text
// before fileOffset - 1, given a backslash if it lacks one. One file: the result is its
// full path and the offset points at its name. Several: the folder, a NUL, then names,
// each NUL-terminated, until an empty one or the end of the buffer's length units.
// Paths have no length limit. A result without a folder (offset 0 or 1), or an offset
// past its end, names no file.
std::vector<ChosenFile> SplitDialogResult(const wchar_t* result, size_t length, size_t fileOffset);

} // namespace playlist
