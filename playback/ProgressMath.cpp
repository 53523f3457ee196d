// The progress display's arithmetic: clock texts and the sliders' scales.
#include "playback/ProgressMath.h"

#include <cmath>
#include <cstdint>
#include <cwchar>

namespace DuiLib {

CDuiString FormatTime(double seconds) {
    // Truncate to 64 bits, then keep the low 32 as unsigned: a negative or NaN
    // position never prints garbage signs. Out-of-range doubles count as 0.
    int64_t whole = 0;
    if (std::isfinite(seconds) && std::fabs(seconds) < 9.2e18)
        whole = static_cast<int64_t>(seconds);
    const uint32_t w = static_cast<uint32_t>(whole);
    wchar_t text[64];
    swprintf(text, 64, L"%02u:%02u:%02u", w / 3600, (w % 3600) / 60, w % 60);
    return CDuiString(text);
}

int SeekSliderPosition(double t, double d) {
    const double x = t * 1000.0 / d;
    if (!std::isfinite(x) || x <= 0.0)
        return 0;
    if (x >= kSeekSliderMax)
        return kSeekSliderMax;
    return static_cast<int>(x);
}

double VolumePercent(int value, int max) {
    return static_cast<double>(static_cast<float>(value) * 100.0f / static_cast<float>(max));
}

double SeekFraction(int value, int max) {
    return static_cast<double>(static_cast<float>(value) / static_cast<float>(max));
}

} // namespace DuiLib
