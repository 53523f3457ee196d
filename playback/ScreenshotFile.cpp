// A screenshot's folder and file name.
#include "playback/ScreenshotFile.h"

#include <cmath>
#include <cwchar>

namespace screenshot {

std::wstring ScreenshotFolder(const std::wstring& userProfile) {
    if (userProfile.empty())
        return {};
    std::wstring folder = userProfile;
    if (folder.back() != L'\\' && folder.back() != L'/')
        folder += L'\\';
    return folder + L"Pictures\\Morvane";
}

std::wstring ScreenshotName(const std::wstring& videoPath, double seconds) {
    const size_t slash = videoPath.find_last_of(L"\\/");
    const std::wstring fileName = slash == std::wstring::npos ? videoPath : videoPath.substr(slash + 1);
    // Whole milliseconds, cut rather than rounded, so 59.9996 s never reads as 60.000.
    const long long ms =
        std::isfinite(seconds) && seconds > 0 ? static_cast<long long>(std::floor(seconds * 1000.0)) : 0;
    wchar_t stamp[48];
    std::swprintf(stamp, 48, L"_%02lld-%02lld-%02lld.%03lld.png", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60,
                  ms % 1000);
    return fileName + stamp;
}

} // namespace screenshot
