#pragma once
// A failing platform under the decoder process, for tests: the player describes the
// fault with the open command, and the decoder wraps its Source Reader to match.
#include <cstdint>

#include "avcore/media_source.h"

namespace avcore {

enum class ReaderFault : int32_t {
    None,
    CreationHangs,  // the reader is never built
    ReadHangs,      // reads after the first `goodReads` never return
    EmptyForever,   // reads after the first `goodReads` answer with no sample and no flag
    Crashes,        // the read after the first `goodReads` crashes the decoder process
    PathDenied,     // the decoder may not open the path itself (its rights are too low)
};

struct ReaderFaultSeam {
    ReaderFault fault = ReaderFault::None;
    int32_t goodReads = 0;
};

// The reader factory that plays the fault; empty when the real reader plays (no fault,
// or a fault the decoder plays outside the reader).
ReaderFactory FaultyReaderFactory(const ReaderFaultSeam& seam);

} // namespace avcore
