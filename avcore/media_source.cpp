#include "avcore/media_source.h"

#include <mfapi.h>
#include <mferror.h>

#include <algorithm>
#include <cstring>

using Microsoft::WRL::ComPtr;

namespace avcore {

namespace {

constexpr DWORD kVideo = static_cast<DWORD>(MF_SOURCE_READER_FIRST_VIDEO_STREAM);
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

// The stream's language tag, when the platform knows it and it reads as one.
void ReadLanguage(IMFSourceReader* reader, DWORD stream, wchar_t (&out)[kLanguageChars])
{
    out[0] = L'\0';
    PROPVARIANT var;
    PropVariantInit(&var);
    if (SUCCEEDED(reader->GetPresentationAttribute(stream, MF_SD_LANGUAGE, &var)) && var.vt == VT_LPWSTR &&
        var.pwszVal && wcsnlen(var.pwszVal, kLanguageChars) < kLanguageChars)
        wcscpy_s(out, var.pwszVal);
    PropVariantClear(&var);
}

// What tells an audio stream apart between opens of one file, whose platform may list
// them in another order: its language, channels and rate.
std::wstring DescribeAudio(IMFSourceReader* reader, DWORD stream, IMFMediaType* type)
{
    wchar_t language[kLanguageChars];
    ReadLanguage(reader, stream, language);
    UINT32 channels = 0, rate = 0;
    type->GetUINT32(MF_MT_AUDIO_NUM_CHANNELS, &channels);
    type->GetUINT32(MF_MT_AUDIO_SAMPLES_PER_SECOND, &rate);
    return std::wstring(language) + L'/' + std::to_wstring(channels) + L'/' + std::to_wstring(rate);
}

// Calls `each(stream, type)` for the reader's audio streams, in its order, at most kMaxAudioTracks.
template <typename Each>
void ForEachAudioStream(IMFSourceReader* reader, Each each)
{
    // The reader numbers its streams from 0 and answers past the last with an error.
    int found = 0;
    for (DWORD stream = 0; found < kMaxAudioTracks; ++stream) {
        ComPtr<IMFMediaType> type;
        if (FAILED(reader->GetNativeMediaType(stream, 0, &type))) break;
        GUID major{};
        if (FAILED(type->GetMajorType(&major)) || major != MFMediaType_Audio) continue;
        each(stream, type.Get());
        ++found;
    }
}

} // namespace

double VideoFormat::displayAspect() const
{
    if (cropWidth <= 0 || cropHeight <= 0) return 1.0;
    const double par = (parNum > 0 && parDen > 0) ? static_cast<double>(parNum) / parDen : 1.0;
    return cropWidth * par / cropHeight;
}

bool MediaSource::open(const std::wstring& path, const ReaderFactory& factory, bool reopenable)
{
    m_reader.Reset();
    m_audioReader.Reset();
    m_path = path;
    m_reopenable = reopenable;
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
    listAudioTracks();
    m_audioTrack = 0;
    m_info.hasAudio = !m_audioStreams.empty() && SUCCEEDED(m_reader->SetStreamSelection(m_audioStreams[0], TRUE)) &&
                      configureAudio(m_reader.Get(), m_audioStreams[0]);
    if (m_info.hasAudio) {
        m_info.audio = m_decoded;
        m_convert.configure(m_decoded.rate, m_decoded.channels, m_decoded.rate, m_decoded.channels);
    } else {
        if (!m_audioStreams.empty()) m_reader->SetStreamSelection(m_audioStreams[0], FALSE);
        m_audioStreams.clear();
        m_info.audioTrackCount = 0;
    }
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
    m_audioReader.Reset();
    m_reader.Reset();
}

void MediaSource::listAudioTracks()
{
    m_audioStreams.clear();
    m_trackKeys.clear();
    ForEachAudioStream(m_reader.Get(), [&](DWORD stream, IMFMediaType* type) {
        AudioTrackInfo& track = m_info.audioTracks[m_audioStreams.size()];
        UINT32 channels = 0;
        track.channels = SUCCEEDED(type->GetUINT32(MF_MT_AUDIO_NUM_CHANNELS, &channels)) && channels <= 64
                             ? static_cast<int>(channels) : 0;
        ReadLanguage(m_reader.Get(), stream, track.language);
        m_audioStreams.push_back(stream);
        m_trackKeys.push_back(DescribeAudio(m_reader.Get(), stream, type));
    });
    m_info.audioTrackCount = static_cast<int>(m_audioStreams.size());
}

// A second reader of the file for sound alone, its streams matched to the listed tracks
// by description: the n-th listed track of a description is the n-th stream of it there.
bool MediaSource::openAudioReader()
{
    if (m_audioReader) return true;
    if (!m_reopenable) return false;
    ComPtr<IMFSourceReader> reader;
    if (FAILED(MFCreateSourceReaderFromURL(m_path.c_str(), nullptr, &reader)) || !reader) return false;
    reader->SetStreamSelection(static_cast<DWORD>(MF_SOURCE_READER_ALL_STREAMS), FALSE);
    std::vector<std::pair<std::wstring, DWORD>> found;
    ForEachAudioStream(reader.Get(), [&](DWORD stream, IMFMediaType* type) {
        found.emplace_back(DescribeAudio(reader.Get(), stream, type), stream);
    });
    std::vector<DWORD> streams;
    for (const std::wstring& key : m_trackKeys) {
        auto match = std::find_if(found.begin(), found.end(), [&](const auto& f) { return f.first == key; });
        if (match == found.end()) return false;  // not the file listed at open
        streams.push_back(match->second);
        found.erase(match);
    }
    m_sideStreams = std::move(streams);
    m_audioReader = std::move(reader);
    return true;
}

TrackSwitch MediaSource::selectAudioTrack(int index, double seconds)
{
    if (!m_reader || !m_info.hasAudio || index < 0 || index >= static_cast<int>(m_audioStreams.size()))
        return TrackSwitch::Refused;
    if (index == m_audioTrack) return TrackSwitch::Alongside;
    if (!m_reopenable) return switchInPlace(index) ? TrackSwitch::InPlace : TrackSwitch::Refused;
    const bool hadSide = m_audioReader != nullptr;
    if (!openAudioReader()) return TrackSwitch::Refused;
    IMFSourceReader* side = m_audioReader.Get();
    const DWORD after = m_sideStreams[static_cast<size_t>(index)];
    const AudioFormat kept = m_decoded;
    if (hadSide) side->SetStreamSelection(m_sideStreams[static_cast<size_t>(m_audioTrack)], FALSE);
    if (FAILED(side->SetStreamSelection(after, TRUE)) || !configureAudio(side, after) || !seekReader(side, seconds)) {
        side->SetStreamSelection(after, FALSE);
        m_decoded = kept;
        if (hadSide) {  // the track before goes on from where its reader was
            side->SetStreamSelection(m_sideStreams[static_cast<size_t>(m_audioTrack)], TRUE);
            configureAudio(side, m_sideStreams[static_cast<size_t>(m_audioTrack)]);
        } else {
            m_audioReader.Reset();
        }
        return TrackSwitch::Refused;
    }
    // The main reader's sound would only pile up unread beside the pictures.
    if (!hadSide) m_reader->SetStreamSelection(m_audioStreams[static_cast<size_t>(m_audioTrack)], FALSE);
    m_audioTrack = index;
    m_convert.configure(m_decoded.rate, m_decoded.channels, m_info.audio.rate, m_info.audio.channels);
    return TrackSwitch::Alongside;
}

bool MediaSource::switchInPlace(int index)
{
    const DWORD before = m_audioStreams[static_cast<size_t>(m_audioTrack)];
    const DWORD after = m_audioStreams[static_cast<size_t>(index)];
    m_reader->SetStreamSelection(before, FALSE);
    if (FAILED(m_reader->SetStreamSelection(after, TRUE)) || !configureAudio(m_reader.Get(), after)) {
        m_reader->SetStreamSelection(after, FALSE);
        m_reader->SetStreamSelection(before, TRUE);
        configureAudio(m_reader.Get(), before);
        return false;
    }
    m_audioTrack = index;
    m_convert.configure(m_decoded.rate, m_decoded.channels, m_info.audio.rate, m_info.audio.channels);
    return true;
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

// The stream as 16-bit PCM in its own rate and channels (the reader does not convert
// those everywhere), written to m_decoded.
bool MediaSource::configureAudio(IMFSourceReader* reader, DWORD stream)
{
    if (!SetSubtype(reader, stream, MFMediaType_Audio, MFAudioFormat_PCM, 16)) return false;
    ComPtr<IMFMediaType> type;
    if (FAILED(reader->GetCurrentMediaType(stream, &type))) return false;
    UINT32 rate = 0, channels = 0, bits = 0;
    type->GetUINT32(MF_MT_AUDIO_SAMPLES_PER_SECOND, &rate);
    type->GetUINT32(MF_MT_AUDIO_NUM_CHANNELS, &channels);
    type->GetUINT32(MF_MT_AUDIO_BITS_PER_SAMPLE, &bits);
    if (rate < 1000 || rate > 384000 || channels == 0 || channels > 8 || bits != 16) return false;
    m_decoded.rate = static_cast<int>(rate);
    m_decoded.channels = static_cast<int>(channels);
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
    IMFSourceReader* reader = audioReader();
    const DWORD stream = (m_audioReader ? m_sideStreams : m_audioStreams)[static_cast<size_t>(m_audioTrack)];
    for (int empty = 0;; ++empty) {
        if (empty > kMaxEmptyReads) return ReadStatus::Error;
        DWORD index = 0, flags = 0;
        LONGLONG ts = 0;
        ComPtr<IMFSample> sample;
        if (FAILED(reader->ReadSample(stream, 0, &index, &flags, &ts, &sample)) ||
            (flags & MF_SOURCE_READERF_ERROR))
            return ReadStatus::Error;
        if (flags & MF_SOURCE_READERF_ENDOFSTREAM) return ReadStatus::EndOfStream;
        if (!sample) continue;
        ComPtr<IMFMediaBuffer> buffer;
        if (FAILED(sample->ConvertToContiguousBuffer(&buffer))) return ReadStatus::Error;
        BYTE* data = nullptr;
        DWORD length = 0;
        if (FAILED(buffer->Lock(&data, nullptr, &length))) return ReadStatus::Error;
        const size_t frameBytes = sizeof(int16_t) * static_cast<size_t>(m_decoded.channels);
        const size_t frames = length / frameBytes;
        m_decodedSamples.resize(frames * static_cast<size_t>(m_decoded.channels));
        if (frames) std::memcpy(m_decodedSamples.data(), data, frames * frameBytes);
        buffer->Unlock();
        out.samples.clear();
        m_convert.convert(m_decodedSamples.data(), frames, out.samples);
        out.pts = static_cast<double>(ts) * kHns;
        if (!out.samples.empty()) return ReadStatus::Sample;
    }
}

bool MediaSource::seek(double seconds)
{
    if (!m_reader) return false;
    const bool sound = !m_audioReader || seekReader(m_audioReader.Get(), seconds);
    return seekReader(m_reader.Get(), seconds) && sound;
}

bool MediaSource::seekReader(IMFSourceReader* reader, double seconds)
{
    PROPVARIANT var;
    PropVariantInit(&var);
    var.vt = VT_I8;
    var.hVal.QuadPart = static_cast<LONGLONG>((seconds < 0 ? 0 : seconds) / kHns);
    const HRESULT hr = reader->SetCurrentPosition(GUID_NULL, var);
    PropVariantClear(&var);
    m_convert.reset();
    return SUCCEEDED(hr);
}

} // namespace avcore
