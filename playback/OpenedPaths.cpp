// Files from outside the add dialog: the command line, a second start's paths, drops, and the folders listed for them.
#include "playback/OpenedPaths.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <atomic>

#include "duilib/UIPath.h"
#include "playback/AddFilesDialog.h"

namespace playlist {

namespace {

std::atomic<FileSystemHook> g_fileSystemHook{nullptr};

void BeforeFileSystemCall(const std::wstring& path)
{
    if (FileSystemHook hook = g_fileSystemHook.load()) hook(path);
}

std::wstring FullPath(const std::wstring& path)
{
    const DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0) return path;
    std::wstring full(n, L'\0');
    const DWORD written = GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
    if (written == 0 || written >= n) return path;
    full.resize(written);
    return full;
}

// The form the file-system calls take: beyond MAX_PATH only the extended form reaches
// a file (a folder's listing pattern adds two units, so those count too). That form
// is taken literally, so the path is made whole first (separators, "." and "..").
std::wstring FileSystemForm(const std::wstring& path)
{
    if (path.size() + 2 < MAX_PATH)
        return path;
    // A path already extended, or a device's, is taken as it is.
    const std::wstring extended = DuiLib::ExtendedPathForm(path);
    return extended == path ? path : DuiLib::ExtendedPathForm(FullPath(path));
}

// The add dialog's video patterns ("*.avi", "*.mp4", ...): the second string of its filter.
std::vector<std::wstring> VideoPatterns()
{
    std::vector<std::wstring> patterns;
    const wchar_t* patternList = kVideoFilter + wcslen(kVideoFilter) + 1;
    for (const wchar_t* p = patternList; *p;) {
        const wchar_t* end = wcschr(p, L';');
        const size_t n = end ? static_cast<size_t>(end - p) : wcslen(p);
        patterns.emplace_back(p, n);
        p += n;
        if (*p == L';') ++p;
    }
    return patterns;
}

std::vector<std::wstring> VideoFilesIn(const std::wstring& folder)
{
    std::wstring base = folder;
    if (!base.empty() && base.back() != L'\\' && base.back() != L'/') base += L'\\';
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    const std::wstring pattern = FileSystemForm(base + L"*");
    BeforeFileSystemCall(pattern);
    HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) return {};
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsVideoFileName(data.cFileName))
            names.emplace_back(data.cFileName);
        BeforeFileSystemCall(pattern);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end(),
              [](const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) < 0; });
    for (std::wstring& name : names) name = base + name;
    return names;
}

} // namespace

std::vector<std::wstring> PathsFromCommandLine(const wchar_t* commandLine)
{
    if (!commandLine || !*commandLine) return {};
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(commandLine, &count);
    if (!args) return {};
    std::vector<std::wstring> paths;
    for (int i = 1; i < count; ++i)
        if (args[i] && *args[i]) paths.push_back(FullPath(args[i]));
    LocalFree(args);
    return paths;
}

bool IsVideoFileName(const std::wstring& name)
{
    static const std::vector<std::wstring> patterns = VideoPatterns();
    for (const std::wstring& pattern : patterns)
        if (PathMatchSpecW(name.c_str(), pattern.c_str())) return true;
    return false;
}

void SetFileSystemHook(FileSystemHook hook) { g_fileSystemHook.store(hook); }

std::vector<std::wstring> ExpandToFiles(const std::vector<std::wstring>& paths)
{
    std::vector<std::wstring> files;
    for (const std::wstring& path : paths) {
        const std::wstring query = FileSystemForm(path);
        BeforeFileSystemCall(query);
        const DWORD attributes = GetFileAttributesW(query.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) continue;
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            files.push_back(path);
            continue;
        }
        for (std::wstring& file : VideoFilesIn(path)) files.push_back(std::move(file));
    }
    return files;
}

std::wstring DisplayName(const std::wstring& fullPath)
{
    const size_t slash = fullPath.find_last_of(L"\\/");
    return slash == std::wstring::npos ? fullPath : fullPath.substr(slash + 1);
}

std::wstring PackPaths(const std::vector<std::wstring>& paths)
{
    std::wstring block;
    for (const std::wstring& path : paths) {
        if (path.empty() || path.find(L'\0') != std::wstring::npos) continue;
        block += path;
        block += L'\0';
    }
    return block;
}

std::vector<std::wstring> UnpackPaths(const void* data, size_t bytes)
{
    if (!data || bytes == 0 || bytes > kMaxForwardedBytes || bytes % sizeof(wchar_t)) return {};
    const auto* text = static_cast<const wchar_t*>(data);
    const size_t units = bytes / sizeof(wchar_t);
    if (text[units - 1] != L'\0') return {};  // cut short: trust none of it
    std::vector<std::wstring> paths;
    for (size_t i = 0; i < units;) {
        const size_t n = wcsnlen(text + i, units - i);
        if (n > 0) paths.emplace_back(text + i, n);
        if (paths.size() > kMaxForwardedPaths) return {};
        i += n + 1;
    }
    return paths;
}

} // namespace playlist
