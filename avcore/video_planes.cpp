#include "avcore/video_planes.h"

#include <initializer_list>

namespace avcore {

namespace {

int AlignUp(int v, int a) { return (v + a - 1) / a * a; }

} // namespace

size_t PictureBytes(const VideoFormat& f, int s, int h)
{
    const size_t luma = static_cast<size_t>(s) * h;
    const size_t chromaRows = static_cast<size_t>(h + 1) / 2;
    if (f.layout == avfx::PixelLayout::NV12) return luma + static_cast<size_t>(s) * chromaRows;
    return luma + 2 * static_cast<size_t>(s / 2) * chromaRows;
}

PlaneGeometry PitchedGeometry(const VideoFormat& f, int pitch, size_t packedLength, size_t available)
{
    if (pitch <= 0 || f.codedHeight <= 0) return {};
    int planeHeight = f.codedHeight;
    if (packedLength > 0) {
        VideoFormat packed = f;
        packed.defaultStride = 0;
        const PlaneGeometry p = InferPlaneGeometry(packed, packedLength, 0);
        if (p.valid()) planeHeight = p.planeHeight;
    }
    // A decoder's pitch and its stated length need not agree with the memory it locked.
    if (pitch < f.cropX + f.cropWidth || planeHeight < f.cropY + f.cropHeight) return {};
    if (PictureBytes(f, pitch, planeHeight) > available) return {};
    return {pitch, planeHeight};
}

PlaneGeometry InferPlaneGeometry(const VideoFormat& f, size_t length, int pitch)
{
    const int w = f.codedWidth, h = f.codedHeight;
    if (w <= 0 || h <= 0 || length == 0) return {};
    int strides[8];
    int nStrides = 0;
    if (pitch > 0) {
        strides[nStrides++] = pitch;
    } else if (f.defaultStride >= w) {
        strides[nStrides++] = f.defaultStride;
    } else {
        for (int a : {1, 2, 4, 16, 32, 64, 128, 256}) {
            const int s = AlignUp(w, a);
            if (nStrides == 0 || strides[nStrides - 1] != s) strides[nStrides++] = s;
        }
    }
    const int heights[] = {h, AlignUp(h, 2), AlignUp(h, 16), AlignUp(h, 32), AlignUp(h, 64)};
    // An exact fit names the layout; several exact fits are told apart by trying the
    // plainest stride first (a hint or the width itself).
    for (int i = 0; i < nStrides; ++i)
        for (int ph : heights)
            if (PictureBytes(f, strides[i], ph) == length) return {strides[i], ph};
    // Otherwise trust the first stride and the coded height when the buffer holds them
    // (some decoders leave slack at the end).
    if (PictureBytes(f, strides[0], h) <= length) return {strides[0], h};
    return {};
}

avfx::PlaneView PlanesAt(const uint8_t* base, const VideoFormat& f, const PlaneGeometry& g)
{
    avfx::PlaneView v{};
    const size_t s = static_cast<size_t>(g.stride);
    v.y = base + s * f.cropY + f.cropX;
    v.yStride = g.stride;
    const uint8_t* chroma = base + s * g.planeHeight;
    if (f.layout == avfx::PixelLayout::NV12) {
        v.u = chroma + s * (f.cropY / 2) + f.cropX;
        v.v = nullptr;
        v.uvStride = g.stride;
    } else {
        const size_t cs = s / 2;
        const size_t planeBytes = cs * ((g.planeHeight + 1) / 2);
        v.u = chroma + cs * (f.cropY / 2) + f.cropX / 2;
        v.v = v.u + planeBytes;
        v.uvStride = g.stride / 2;
    }
    return v;
}

LockedPicture::LockedPicture(IMFSample* sample, const VideoFormat& format)
{
    if (!sample) return;
    DWORD count = 0;
    if (FAILED(sample->GetBufferCount(&count)) || count == 0) return;
    const HRESULT hr = count == 1 ? sample->GetBufferByIndex(0, &m_buffer)
                                  : sample->ConvertToContiguousBuffer(&m_buffer);
    if (FAILED(hr)) return;

    // Only a lock that reports the buffer's extent lets the pitched rows be checked.
    Microsoft::WRL::ComPtr<IMF2DBuffer2> buffer2d;
    if (SUCCEEDED(m_buffer.As(&buffer2d))) {
        BYTE* scan0 = nullptr;
        BYTE* start = nullptr;
        LONG pitch = 0;
        DWORD extent = 0, packed = 0;
        if (SUCCEEDED(buffer2d->Lock2DSize(MF2DBuffer_LockFlags_Read, &scan0, &pitch, &start, &extent))) {
            m_buffer2d = buffer2d;
            PlaneGeometry g;
            if (scan0 >= start && scan0 < start + extent && SUCCEEDED(buffer2d->GetContiguousLength(&packed)))
                g = PitchedGeometry(format, static_cast<int>(pitch), packed,
                                    static_cast<size_t>(start + extent - scan0));
            if (g.valid()) {
                m_planes = PlanesAt(scan0, format, g);
                m_ok = true;
                return;
            }
            m_buffer2d->Unlock2D();
            m_buffer2d.Reset();
        }
    }

    BYTE* data = nullptr;
    DWORD maxLength = 0, length = 0;
    if (FAILED(m_buffer->Lock(&data, &maxLength, &length))) {
        m_buffer.Reset();
        return;
    }
    const PlaneGeometry g = InferPlaneGeometry(format, length, 0);
    if (!g.valid()) {
        m_buffer->Unlock();
        m_buffer.Reset();
        return;
    }
    m_planes = PlanesAt(data, format, g);
    m_ok = true;
}

LockedPicture::~LockedPicture()
{
    if (!m_ok) return;
    if (m_buffer2d) m_buffer2d->Unlock2D();
    else if (m_buffer) m_buffer->Unlock();
}

} // namespace avcore
