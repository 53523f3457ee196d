#pragma once
// Unix paths (the build's folders, as the scripts and CMake give them) seen from the
// Windows side under Wine: drive Z: is the Unix root.
#include <windows.h>

#include <string>

namespace testsupport {

// "/a/b" becomes "Z:\a\b"; a path that is not absolute Unix only has its slashes turned.
inline std::string WindowsPathA(std::string path)
{
    for (char& c : path)
        if (c == '/') c = '\\';
    return !path.empty() && path[0] == '\\' ? "Z:" + path : path;
}

inline std::wstring WindowsPath(const std::string& path)
{
    const std::string windows = WindowsPathA(path);
    return std::wstring(windows.begin(), windows.end());
}

// An environment variable holding a Unix path, as a Windows path; empty when unset.
inline std::wstring WindowsPathFromEnv(const char* name)
{
    char value[4096] = {};
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof(value));
    return n > 0 && n < sizeof(value) ? WindowsPath(value) : std::wstring();
}

} // namespace testsupport
