// Joining an open-file dialog's result into the files it names.
#include "playback/DialogResult.h"

#include <algorithm>

namespace playlist {

std::vector<ChosenFile> SplitDialogResult(const wchar_t* result, size_t length, size_t fileOffset) {
    std::vector<ChosenFile> files;
    if (!result || fileOffset < 2 || fileOffset >= length)
        return files;

    // The folder ends at the unit before the names; a stray NUL ends it earlier.
    const wchar_t* folderEnd = std::find(result, result + (fileOffset - 1), L'\0');
    std::wstring folder(result, folderEnd);
    if (folder.empty())
        return files;
    if (folder.back() != L'\\')
        folder += L'\\';

    // One chosen file comes as its full path, the offset pointing at its name: what
    // follows that path's NUL is an earlier result left in the buffer, never a name.
    const bool single = result[fileOffset - 1] != L'\0';
    const wchar_t* end = result + length;
    for (const wchar_t* name = result + fileOffset; name < end && *name;) {
        const wchar_t* nameEnd = std::find(name, end, L'\0');
        ChosenFile file;
        file.name.assign(name, nameEnd);
        file.fullPath = folder + file.name;
        files.push_back(std::move(file));
        if (single || nameEnd == end)
            break;
        name = nameEnd + 1;
    }
    return files;
}

} // namespace playlist
