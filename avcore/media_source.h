#pragma once
// The file being played, read through Media Foundation's Source Reader: the first
// video stream as NV12 (I420 when NV12 is refused) and one audio stream (the first
// until another is chosen) as 16-bit PCM; a file may have either or both. Another
// track is read by a second, sound-only reader, so choosing it never stops the pictures.
// Lives in the decoder process (decoder_host), on its one thread.
#include <windows.h>
#include <mfidl.h>
#include <mfreadwrite.h>
#include <wrl/client.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "avcore/effects/frame_pipeline.h"
#include "avcore/pcm_convert.h"

namespace avcore {

struct VideoFormat {
    int codedWidth = 0;     // MF_MT_FRAME_SIZE: the buffer's picture size
    int codedHeight = 0;
    int defaultStride = 0;  // MF_MT_DEFAULT_STRIDE, 0 when the type does not say
    int cropX = 0, cropY = 0, cropWidth = 0, cropHeight = 0;  // the part to show
    int parNum = 1, parDen = 1;                               // pixel aspect ratio
    double frameDuration = 0.0;                               // seconds, from the frame rate
    avfx::PixelLayout layout = avfx::PixelLayout::NV12;
    avfx::ColorMatrix matrix = avfx::ColorMatrix::BT601;

    double displayAspect() const;  // width / height of the picture as it should be seen
};

struct AudioFormat {
    int rate = 0;
    int channels = 0;  // samples are 16-bit, interleaved
};

constexpr int kMaxAudioTracks = 16;       // audio streams listed beyond these are not offered
constexpr size_t kLanguageChars = 36;     // a language tag (RFC 5646) with its NUL

// One audio stream of the file, as the platform describes it. Plain data: it crosses
// from the decoder process in shared memory.
struct AudioTrackInfo {
    int channels = 0;                      // 0 when unknown
    wchar_t language[kLanguageChars] = {}; // "en", "zh", ...; empty when unknown
};

struct MediaInfo {
    bool hasVideo = false;  // false: sound only
    VideoFormat video;
    bool hasAudio = false;
    AudioFormat audio;      // what every track is delivered as: the first track's format
    double duration = 0.0;  // seconds, 0 when unknown
    int audioTrackCount = 0;  // 0 without sound
    AudioTrackInfo audioTracks[kMaxAudioTracks];
};

enum class ReadStatus { Sample, EndOfStream, Error };

// A picture as the reader gave it, in the decoder process.
struct ReaderSample {
    Microsoft::WRL::ComPtr<IMFSample> sample;
    double pts = 0.0;
    double duration = 0.0;
};

struct AudioChunk {
    std::vector<int16_t> samples;  // interleaved
    double pts = 0.0;
    uint64_t generation = 0;
};

// How another audio track was taken up: by a second reader beside the pictures, or (a
// file that may not be opened twice) in the one reader, whose pictures and sound must
// then be sought again.
enum class TrackSwitch { Refused, Alongside, InPlace };

// Builds the Source Reader for a path; empty means MFCreateSourceReaderFromURL.
using ReaderFactory = std::function<HRESULT(const std::wstring& path, IMFAttributes* attributes,
                                            IMFSourceReader** reader)>;

class MediaSource {
public:
    // False when the file cannot be read, or has neither a video stream of known size nor sound.
    // `reopenable`: the path may be opened again, for another audio track.
    bool open(const std::wstring& path, const ReaderFactory& factory = {}, bool reopenable = true);
    void close();  // releases the reader; must run before the thread shuts Media Foundation down
    const MediaInfo& info() const { return m_info; }

    ReadStatus readVideo(ReaderSample& out);  // may update info().video (format change)
    ReadStatus readAudio(AudioChunk& out);
    bool seek(double seconds);               // lands near the time; callers refine it
    // Reads audio track `index` (from 0, in info().audioTracks) from `seconds` on, converted
    // to info().audio; Refused, and the track before kept, when it cannot be decoded.
    TrackSwitch selectAudioTrack(int index, double seconds);

private:
    bool configureVideo();
    bool configureAudio(IMFSourceReader* reader, DWORD stream);
    bool readVideoFormat();
    void listAudioTracks();
    bool openAudioReader();
    bool switchInPlace(int index);
    bool seekReader(IMFSourceReader* reader, double seconds);
    IMFSourceReader* audioReader() const { return m_audioReader ? m_audioReader.Get() : m_reader.Get(); }
    Microsoft::WRL::ComPtr<IMFSourceReader> m_reader;
    // The sound-only reader of a track chosen after open; the main reader then reads no sound.
    Microsoft::WRL::ComPtr<IMFSourceReader> m_audioReader;
    std::wstring m_path;
    bool m_reopenable = false;
    MediaInfo m_info;
    std::vector<DWORD> m_audioStreams;  // the main reader's stream index of each listed track
    std::vector<DWORD> m_sideStreams;   // ... and the sound-only reader's, matched by description
    std::vector<std::wstring> m_trackKeys;  // what tells each listed track apart between opens
    int m_audioTrack = 0;               // the one read
    AudioFormat m_decoded;              // its own format, before conversion
    PcmConverter m_convert;
    std::vector<int16_t> m_decodedSamples;
};

} // namespace avcore
