#include "playback/EnginePath.h"

#include <windows.h>
#include <optional>

namespace DuiLib {

namespace {

std::string ToAnsi(const std::wstring& path, DWORD flags) {
    const int n = WideCharToMultiByte(CP_ACP, flags, path.data(), static_cast<int>(path.size()), nullptr, 0,
                                      nullptr, nullptr);
    if (n <= 0)
        return {};
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, flags, path.data(), static_cast<int>(path.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// The ANSI form, when it fits and names exactly this path (no stand-in or best-fit
// characters, which would open another file or none).
std::optional<std::string> CleanAnsi(const std::wstring& path) {
    std::string ansi = ToAnsi(path, 0);
    if (ansi.empty() || ansi.size() > kEnginePathMaxBytes)
        return std::nullopt;
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring back(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), back.data(), n);
    if (back != path)
        return std::nullopt;
    return ansi;
}

std::wstring ShortPath(const std::wstring& path) {
    // Paths beyond MAX_PATH are only reachable with the extended prefix.
    static const std::wstring kExtended = L"\\\\?\\";
    const bool extend = path.size() >= MAX_PATH && path.compare(0, 2, L"\\\\") != 0;
    const std::wstring query = extend ? kExtended + path : path;
    std::wstring out(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD n = GetShortPathNameW(query.c_str(), out.data(), static_cast<DWORD>(out.size()));
        if (n == 0)
            return {};
        if (n < out.size()) {
            out.resize(n);
            if (extend && out.compare(0, kExtended.size(), kExtended) == 0)
                out.erase(0, kExtended.size());
            return out;
        }
        out.assign(n, L'\0');
    }
    return {};
}

} // namespace

std::string EnginePathFor(const std::wstring& path) {
    if (path.empty())
        return {};
    if (std::optional<std::string> ansi = CleanAnsi(path))
        return *ansi;
    const std::wstring shortPath = ShortPath(path);
    if (!shortPath.empty() && shortPath != path)
        if (std::optional<std::string> ansi = CleanAnsi(shortPath))
            return *ansi;
    // Unsayable: a form with stand-ins the engine will not find. Too long: nothing.
    std::string lossy = ToAnsi(path, WC_NO_BEST_FIT_CHARS);
    return lossy.size() > kEnginePathMaxBytes ? std::string() : lossy;
}

} // namespace DuiLib
