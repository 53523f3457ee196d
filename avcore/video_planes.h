#pragma once
// Where the planes of a decoded YUV picture lie in its buffer. Decoders pad rows
// (and sometimes the plane height) without always saying so in the media type,
// so the layout is worked out from the stride hint, the 2D lock or the length.
#include <windows.h>
#include <mfidl.h>
#include <wrl/client.h>

#include <cstddef>

#include "avcore/effects/frame_pipeline.h"
#include "avcore/media_source.h"

namespace avcore {

struct PlaneGeometry {
    int stride = 0;       // bytes per luma row
    int planeHeight = 0;  // luma rows before the chroma planes begin
    bool valid() const { return stride > 0 && planeHeight > 0; }
};

// Bytes a picture of `format`'s layout takes with rows `stride` bytes apart and
// `planeHeight` luma rows (both layouts: 12 bits per pixel).
size_t PictureBytes(const VideoFormat& format, int stride, int planeHeight);

// Geometry of a contiguous buffer of `length` bytes for the format (coded size, stride hint).
// pitch > 0 is a row pitch already known from a 2D lock.
PlaneGeometry InferPlaneGeometry(const VideoFormat& format, size_t length, int pitch);

// Geometry for rows `pitch` bytes apart (a 2D lock) with `available` bytes from the first
// row on; `packedLength` (the contiguous length) tells the plane height when nonzero.
// Invalid unless every plane of the picture lies inside `available`.
PlaneGeometry PitchedGeometry(const VideoFormat& format, int pitch, size_t packedLength, size_t available);

// The planes of `format`'s visible rectangle inside a buffer at `base`.
avfx::PlaneView PlanesAt(const uint8_t* base, const VideoFormat& format, const PlaneGeometry& g);

// Locks a sample's picture for reading; unlocks on destruction.
class LockedPicture {
public:
    LockedPicture(IMFSample* sample, const VideoFormat& format);
    ~LockedPicture();
    LockedPicture(const LockedPicture&) = delete;
    LockedPicture& operator=(const LockedPicture&) = delete;

    bool ok() const { return m_ok; }
    const avfx::PlaneView& planes() const { return m_planes; }

private:
    Microsoft::WRL::ComPtr<IMFMediaBuffer> m_buffer;
    Microsoft::WRL::ComPtr<IMF2DBuffer> m_buffer2d;
    avfx::PlaneView m_planes{};
    bool m_ok = false;
};

} // namespace avcore
