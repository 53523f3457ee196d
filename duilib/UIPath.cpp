#include "duilib/UIPath.h"

#include <windows.h>

namespace DuiLib {

bool GetModulePath(std::wstring& out) {
    // A fixed MAX_PATH buffer would silently cut a deep path into the name of some other folder.
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return false;
        const bool truncated = n >= buf.size() || GetLastError() == ERROR_INSUFFICIENT_BUFFER;
        if (!truncated) {
            buf.resize(n);
            out = std::move(buf);
            return true;
        }
        if (buf.size() >= 32768) return false;  // the longest path Windows can name
        buf.resize(buf.size() * 2);
    }
}

std::wstring ExtendedPathForm(const std::wstring& fullPath) {
    if (fullPath.rfind(kExtendedPathPrefix, 0) == 0 || fullPath.rfind(L"\\\\.\\", 0) == 0) return fullPath;
    if (fullPath.rfind(L"\\\\", 0) == 0) return kExtendedPathPrefix + (L"UNC\\" + fullPath.substr(2));
    return kExtendedPathPrefix + fullPath;
}

std::wstring LongPathForm(const std::wstring& path) {
    if (path.size() < MAX_PATH) return path;
    const bool absolute = path.rfind(L"\\\\", 0) == 0 || (path.size() >= 3 && path[1] == L':' && path[2] == L'\\');
    return absolute ? ExtendedPathForm(path) : path;
}

std::wstring GetModuleFolder() {
    std::wstring path;
    if (!GetModulePath(path))
        return {};
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

} // namespace DuiLib
