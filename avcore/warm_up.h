#pragma once
// Readies a fresh decoder process for a quick first open: the platform loads its
// demuxer, decoders and converters, which takes far longer than the open itself.

namespace avcore {

// Reads a picture and some sound of a tiny H.264/AAC clip built into the engine.
void WarmUpPlatform();

} // namespace avcore
