#include "avcore/media_source.h"

#include <mfapi.h>
#include <mferror.h>

#include <cstring>

using Microsoft::WRL::ComPtr;

namespace avcore {

namespace {

constexpr DWORD kVideo = static_cast<DWORD>(MF_SOURCE_READER_FIRST_VIDEO_STREAM);
constexpr DWORD kAudio = static_cast<DWORD>(MF_SOURCE_READER_FIRST_AUDIO_STREAM);
constexpr double kHns = 1e-7;  // Media Foundation time unit
// A reader that keeps answering with stream ticks and no sample is treated as
// broken after this many in a row (a real gap gives a few).
constexpr int kMaxEmptyReads = 1000;

bool SetSubtype(IMFSourceReader* reader, DWORD stream, const GUID& major, const GUID& subtype,
                UINT32 bitsPerSample = 0)
{
    ComPtr<IMFMediaType> type;
    if (FAILED(MFCreateMediaType(&type))) return false;
    type->SetGUID(MF_MT_MAJOR_TYPE, major);
    type->SetGUID(MF_MT_SUBTYPE, subtype);
    if (bitsPerSample) type->SetUINT32(MF_MT_AUDIO_BITS_PER_SAMPLE, bitsPerSample);
    return SUCCEEDED(reader->SetCurrentMediaType(stream, nullptr, type.Get()));
}

} // namespace

double VideoFormat::displayAspect() const
{
    if (cropWidth <= 0 || cropHeight <= 0) return 1.0;
    const double par = (parNum > 0 && parDen > 0) ? static_cast<double>(parNum) / parDen : 1.0;
    return cropWidth * par / cropHeight;
}

bool MediaSource::open(const std::wstring& path, const ReaderFactory& factory)
{
    m_reader.Reset();
    m_info = MediaInfo{};
    ComPtr<IMFAttributes> attrs;
    if (FAILED(MFCreateAttributes(&attrs, 1))) return false;
    // Lets the reader add a colour converter when the decoder's own output is not NV12.
    attrs->SetUINT32(MF_SOURCE_READER_ENABLE_VIDEO_PROCESSING, TRUE);
    const HRESULT created = factory ? factory(path, attrs.Get(), &m_reader)
                                    : MFCreateSourceReaderFromURL(path.c_str(), attrs.Get(), &m_reader);
    if (FAILED(created) || !m_reader) {
        m_reader.Reset();
        return false;
    }
    m_reader->SetStreamSelection(static_cast<DWORD>(MF_SOURCE_READER_ALL_STREAMS), FALSE);
    // A picture the platform cannot give us refuses the file; only one without any plays as sound.
    m_info.hasVideo = SUCCEEDED(m_reader->SetStreamSelection(kVideo, TRUE));
    if (m_info.hasVideo && !configureVideo()) {
        m_reader.Reset();
        return false;
    }
    m_info.hasAudio = SUCCEEDED(m_reader->SetStreamSelection(kAudio, TRUE)) && configureAudio();
    if (!m_info.hasAudio) m_reader->SetStreamSelection(kAudio, FALSE);
    if (!m_info.hasVideo && !m_info.hasAudio) {
        m_reader.Reset();
        return false;
    }

    PROPVARIANT var;
    PropVariantInit(&var);
    if (SUCCEEDED(m_reader->GetPresentationAttribute(static_cast<DWORD>(MF_SOURCE_READER_MEDIASOURCE),
                                                     MF_PD_DURATION, &var)) &&
        var.vt == VT_UI8) {
        m_info.duration = static_cast<double>(var.uhVal.QuadPart) * kHns;
    }
    PropVariantClear(&var);
    return true;
}

void MediaSource::close()
{
    m_reader.Reset();
}

bool MediaSource::configureVideo()
{
    if (SetSubtype(m_reader.Get(), kVideo, MFMediaType_Video, MFVideoFormat_NV12)) {
        m_info.video.layout = avfx::PixelLayout::NV12;
    } else if (SetSubtype(m_reader.Get(), kVideo, MFMediaType_Video, MFVideoFormat_I420) ||
               SetSubtype(m_reader.Get(), kVideo, MFMediaType_Video, MFVideoFormat_IYUV)) {
        m_info.video.layout = avfx::PixelLayout::I420;
    } else {
        return false;
    }
    return readVideoFormat();
}

bool MediaSource::readVideoFormat()
{
    ComPtr<IMFMediaType> type;
    if (FAILED(m_reader->GetCurrentMediaType(kVideo, &type))) return false;
    VideoFormat& v = m_info.video;
    UINT32 w = 0, h = 0;
    if (FAILED(MFGetAttributeSize(type.Get(), MF_MT_FRAME_SIZE, &w, &h)) || w == 0 || h == 0 ||
        w > 16384 || h > 16384)
        return false;
    v.codedWidth = static_cast<int>(w);
    v.codedHeight = static_cast<int>(h);
    UINT32 stride = 0;
    v.defaultStride = SUCCEEDED(type->GetUINT32(MF_MT_DEFAULT_STRIDE, &stride))
                          ? static_cast<int>(static_cast<INT32>(stride)) : 0;
    if (v.defaultStride < 0) v.defaultStride = 0;  // bottom-up YUV does not occur; ignore the hint

    v.cropX = v.cropY = 0;
    v.cropWidth = v.codedWidth;
    v.cropHeight = v.codedHeight;
    MFVideoArea area{};
    UINT32 size = 0;
    if (SUCCEEDED(type->GetBlob(MF_MT_MINIMUM_DISPLAY_APERTURE, reinterpret_cast<UINT8*>(&area),
                                sizeof(area), &size)) &&
        size == sizeof(area)) {
        const int x = area.OffsetX.value, y = area.OffsetY.value;
        const int cw = static_cast<int>(area.Area.cx), ch = static_cast<int>(area.Area.cy);
        if (x >= 0 && y >= 0 && cw > 0 && ch > 0 && x + cw <= v.codedWidth && y + ch <= v.codedHeight) {
            // Chroma is subsampled by two: keep the origin on even pixels.
            v.cropX = x & ~1;
            v.cropY = y & ~1;
            v.cropWidth = cw;
            v.cropHeight = ch;
        }
    }
    UINT32 num = 0, den = 0;
    if (SUCCEEDED(MFGetAttributeRatio(type.Get(), MF_MT_PIXEL_ASPECT_RATIO, &num, &den)) && num && den) {
        v.parNum = static_cast<int>(num);
        v.parDen = static_cast<int>(den);
    }
    if (SUCCEEDED(MFGetAttributeRatio(type.Get(), MF_MT_FRAME_RATE, &num, &den)) && num && den)
        v.frameDuration = static_cast<double>(den) / num;
    UINT32 matrix = 0;
    if (SUCCEEDED(type->GetUINT32(MF_MT_YUV_MATRIX, &matrix)) && matrix != MFVideoTransferMatrix_Unknown)
        v.matrix = matrix == MFVideoTransferMatrix_BT709 ? avfx::ColorMatrix::BT709 : avfx::ColorMatrix::BT601;
    else  // the usual convention when the stream does not say: HD is BT.709
        v.matrix = v.cropHeight >= 720 ? avfx::ColorMatrix::BT709 : avfx::ColorMatrix::BT601;
    return true;
}

bool MediaSource::configureAudio()
{
    if (!SetSubtype(m_reader.Get(), kAudio, MFMediaType_Audio, MFAudioFormat_PCM, 16)) return false;
    ComPtr<IMFMediaType> type;
    if (FAILED(m_reader->GetCurrentMediaType(kAudio, &type))) return false;
    UINT32 rate = 0, channels = 0, bits = 0;
    type->GetUINT32(MF_MT_AUDIO_SAMPLES_PER_SECOND, &rate);
    type->GetUINT32(MF_MT_AUDIO_NUM_CHANNELS, &channels);
    type->GetUINT32(MF_MT_AUDIO_BITS_PER_SAMPLE, &bits);
    if (rate < 1000 || rate > 384000 || channels == 0 || channels > 8 || bits != 16) return false;
    m_info.audio.rate = static_cast<int>(rate);
    m_info.audio.channels = static_cast<int>(channels);
    return true;
}

ReadStatus MediaSource::readVideo(ReaderSample& out)
{
    if (!m_reader) return ReadStatus::Error;
    if (!m_info.hasVideo) return ReadStatus::EndOfStream;
    for (int empty = 0;; ++empty) {
        if (empty > kMaxEmptyReads) return ReadStatus::Error;
        DWORD index = 0, flags = 0;
        LONGLONG ts = 0;
        ComPtr<IMFSample> sample;
        if (FAILED(m_reader->ReadSample(kVideo, 0, &index, &flags, &ts, &sample)) ||
            (flags & MF_SOURCE_READERF_ERROR))
            return ReadStatus::Error;
        if ((flags & MF_SOURCE_READERF_CURRENTMEDIATYPECHANGED) && !readVideoFormat())
            return ReadStatus::Error;
        if (flags & MF_SOURCE_READERF_ENDOFSTREAM) return ReadStatus::EndOfStream;
        if (!sample) continue;  // a stream tick (gap): nothing to show
        out.sample = sample;
        out.pts = static_cast<double>(ts) * kHns;
        LONGLONG dur = 0;
        out.duration = SUCCEEDED(sample->GetSampleDuration(&dur)) && dur > 0
                           ? static_cast<double>(dur) * kHns : m_info.video.frameDuration;
        return ReadStatus::Sample;
    }
}

ReadStatus MediaSource::readAudio(AudioChunk& out)
{
    if (!m_reader || !m_info.hasAudio) return ReadStatus::EndOfStream;
    for (int empty = 0;; ++empty) {
        if (empty > kMaxEmptyReads) return ReadStatus::Error;
        DWORD index = 0, flags = 0;
        LONGLONG ts = 0;
        ComPtr<IMFSample> sample;
        if (FAILED(m_reader->ReadSample(kAudio, 0, &index, &flags, &ts, &sample)) ||
            (flags & MF_SOURCE_READERF_ERROR))
            return ReadStatus::Error;
        if (flags & MF_SOURCE_READERF_ENDOFSTREAM) return ReadStatus::EndOfStream;
        if (!sample) continue;
        ComPtr<IMFMediaBuffer> buffer;
        if (FAILED(sample->ConvertToContiguousBuffer(&buffer))) return ReadStatus::Error;
        BYTE* data = nullptr;
        DWORD length = 0;
        if (FAILED(buffer->Lock(&data, nullptr, &length))) return ReadStatus::Error;
        const size_t frameBytes = sizeof(int16_t) * static_cast<size_t>(m_info.audio.channels);
        const size_t frames = length / frameBytes;
        out.samples.resize(frames * m_info.audio.channels);
        if (frames) std::memcpy(out.samples.data(), data, frames * frameBytes);
        buffer->Unlock();
        out.pts = static_cast<double>(ts) * kHns;
        if (frames) return ReadStatus::Sample;
    }
}

bool MediaSource::seek(double seconds)
{
    if (!m_reader) return false;
    PROPVARIANT var;
    PropVariantInit(&var);
    var.vt = VT_I8;
    var.hVal.QuadPart = static_cast<LONGLONG>((seconds < 0 ? 0 : seconds) / kHns);
    const HRESULT hr = m_reader->SetCurrentPosition(GUID_NULL, var);
    PropVariantClear(&var);
    return SUCCEEDED(hr);
}

} // namespace avcore
