#pragma once
// Where tests put a failing platform under the engine: the Source Reader in the
// decoder process that reads the file, and the sound output. Empty members mean the
// real ones.
#include <functional>
#include <memory>

#include "avcore/audio_output.h"
#include "avcore/reader_faults.h"

namespace avcore {

using AudioOutputFactory = std::function<std::unique_ptr<AudioOutput>(const AudioFormat& format)>;

struct EngineSeams {
    ReaderFaultSeam reader;    // no fault: MFCreateSourceReaderFromURL as it is
    AudioOutputFactory audio;  // empty: waveOut, or the null output without a device
};

} // namespace avcore
