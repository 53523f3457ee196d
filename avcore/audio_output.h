#pragma once
// The sound device front: 16-bit interleaved PCM in, a played-position out.
// Backends: waveOut (audio_waveout.cpp) and a null one that keeps time without a
// device (audio_null.cpp). Owned and called by the audio thread only. format,
// blockFrames, canWrite and writtenFrames are bookkeeping and answer at once; the
// others may wait on the driver.
#include <windows.h>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "avcore/media_source.h"

namespace avcore {

class AudioOutput {
public:
    virtual ~AudioOutput() = default;

    virtual bool isDevice() const = 0;           // false for the null output
    virtual const AudioFormat& format() const = 0;
    virtual size_t blockFrames() const = 0;      // the most one write() takes
    virtual bool canWrite() const = 0;           // a block may be written now
    virtual bool write(const int16_t* samples, size_t frames) = 0;
    virtual uint64_t writtenFrames() const = 0;  // since the last reset
    virtual uint64_t playedFrames() = 0;         // since the last reset, <= writtenFrames()
    virtual void pause() = 0;                    // holds the played position
    virtual void resume() = 0;
    virtual void reset() = 0;                    // drops queued sound, counts from zero
    virtual HANDLE wakeEvent() const = 0;        // signalled when a block finishes; may be null
};

// The waveOut device for the format, or null when there is none or it refuses.
std::unique_ptr<AudioOutput> OpenWaveOut(const AudioFormat& format);
// Swallows sound at real-time pace so the clock runs as with a device.
std::unique_ptr<AudioOutput> OpenNullOutput(const AudioFormat& format);

} // namespace avcore
