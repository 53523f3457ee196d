#pragma once
// Ending a waveOut device safely: the driver owns a block from waveOutWrite until it
// marks it done, and signals the device's event until the device is closed.
#include <windows.h>
#include <mmsystem.h>

#include <cstddef>

#include "avcore/win_handle.h"

namespace avcore {

// The winmm calls the release makes; tests give their own driver.
struct WaveCalls {
    MMRESULT (WINAPI* reset)(HWAVEOUT) = waveOutReset;
    MMRESULT (WINAPI* unprepare)(HWAVEOUT, LPWAVEHDR, UINT) = waveOutUnprepareHeader;
    MMRESULT (WINAPI* close)(HWAVEOUT) = waveOutClose;
};

// Stops the device, waits (bounded) for every queued block to come back, unprepares the
// blocks, closes the device and only then its event. False when the driver still holds a
// block or the device: the blocks must then never be freed, and the event stays open.
bool ReleaseWaveDevice(HWAVEOUT device, UniqueHandle event, WAVEHDR* const* headers, size_t count,
                       const WaveCalls& calls = {});

} // namespace avcore
