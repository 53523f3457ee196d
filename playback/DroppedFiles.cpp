// Reading a drop handle that arrived in a message, which any program can post.
#include "playback/OpenedPaths.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

namespace playlist {

namespace {

// The names of a list of NUL-terminated strings ended by an empty one, all within
// units; nothing when the list runs to the end without its empty name.
template <typename Char>
std::optional<std::vector<std::basic_string<Char>>> NameList(const Char* list, size_t units)
{
    std::vector<std::basic_string<Char>> names;
    for (size_t i = 0; i < units;) {
        size_t n = 0;
        while (i + n < units && list[i + n] != 0) ++n;
        if (i + n == units) return std::nullopt;
        if (n == 0) return names;
        names.emplace_back(list + i, n);
        i += n + 1;
    }
    return std::nullopt;
}

std::wstring Widened(const std::string& ansi)
{
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
    return wide;
}

// The paths of a locked drop block of size bytes; nothing when any part lies outside it.
std::optional<std::vector<std::wstring>> PathsInBlock(const BYTE* block, size_t size)
{
    if (size < sizeof(DROPFILES)) return std::nullopt;
    DROPFILES header;
    std::memcpy(&header, block, sizeof(header));
    if (header.pFiles < sizeof(DROPFILES) || header.pFiles >= size) return std::nullopt;
    // Copied out, so a list at an odd offset is read as whole units.
    const size_t bytes = size - header.pFiles;
    std::vector<std::wstring> paths;
    if (header.fWide) {
        std::wstring list(bytes / sizeof(wchar_t), L'\0');
        std::memcpy(list.data(), block + header.pFiles, list.size() * sizeof(wchar_t));
        auto names = NameList(list.data(), list.size());
        if (!names) return std::nullopt;
        paths = std::move(*names);
    } else {
        auto names = NameList(reinterpret_cast<const char*>(block + header.pFiles), bytes);
        if (!names) return std::nullopt;
        for (const std::string& name : *names) paths.push_back(Widened(name));
    }
    return paths;
}

} // namespace

std::optional<std::vector<std::wstring>> TakeDrop(HDROP drop)
{
    if (!drop) return std::nullopt;
    // Zero for anything that is not a global block of this process.
    const SIZE_T size = GlobalSize(drop);
    if (size == 0) return std::nullopt;
    const auto* block = static_cast<const BYTE*>(GlobalLock(drop));
    if (!block) return std::nullopt;
    std::optional<std::vector<std::wstring>> paths = PathsInBlock(block, size);
    GlobalUnlock(drop);
    if (paths) DragFinish(drop);
    return paths;
}

} // namespace playlist
