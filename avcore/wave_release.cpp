#include "avcore/wave_release.h"

namespace avcore {

namespace {
constexpr double kReturnWaitSeconds = 0.5;  // a reset returns blocks at once; a slow driver gets this long

bool AllDone(WAVEHDR* const* headers, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        if (!(headers[i]->dwFlags & WHDR_DONE)) return false;
    return true;
}
} // namespace

bool ReleaseWaveDevice(HWAVEOUT device, UniqueHandle event, WAVEHDR* const* headers, size_t count,
                       const WaveCalls& calls)
{
    if (!device) return true;
    calls.reset(device);
    const double deadline = NowSeconds() + kReturnWaitSeconds;
    while (!AllDone(headers, count) && NowSeconds() < deadline) Sleep(5);
    for (size_t i = 0; i < count; ++i)
        if (headers[i]->dwFlags & WHDR_PREPARED) calls.unprepare(device, headers[i], sizeof(WAVEHDR));
    if (calls.close(device) == MMSYSERR_NOERROR && AllDone(headers, count)) return true;
    event.release();  // the device may still signal it
    return false;
}

} // namespace avcore
