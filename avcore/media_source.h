#pragma once
// The file being played, read through Media Foundation's Source Reader: the first
// video stream as NV12 (I420 when NV12 is refused) and one audio stream (the first
// until another is chosen) as 16-bit PCM; a file may have either or both. Lives in the decoder process (decoder_host), on its one thread.
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

// Builds the Source Reader for a path; empty means MFCreateSourceReaderFromURL.
using ReaderFactory = std::function<HRESULT(const std::wstring& path, IMFAttributes* attributes,
                                            IMFSourceReader** reader)>;

class MediaSource {
public:
    // False when the file cannot be read, or has neither a video stream of known size nor sound.
    bool open(const std::wstring& path, const ReaderFactory& factory = {});
    void close();  // releases the reader; must run before the thread shuts Media Foundation down
    const MediaInfo& info() const { return m_info; }

    ReadStatus readVideo(ReaderSample& out);  // may update info().video (format change)
    ReadStatus readAudio(AudioChunk& out);
    bool seek(double seconds);               // lands near the time; callers refine it
    // Reads audio track `index` (from 0, in info().audioTracks) from now on, converted to
    // info().audio; false, and the track before kept, when it cannot be decoded. The
    // caller seeks next: the new track starts where the reader is put.
    bool selectAudioTrack(int index);

private:
    bool configureVideo();
    bool configureAudio(DWORD stream);
    bool readVideoFormat();
    void listAudioTracks();
    Microsoft::WRL::ComPtr<IMFSourceReader> m_reader;
    MediaInfo m_info;
    std::vector<DWORD> m_audioStreams;  // the reader's stream index of each listed track
    int m_audioTrack = 0;               // the one read
    AudioFormat m_decoded;              // its own format, before conversion
    PcmConverter m_convert;
    std::vector<int16_t> m_decodedSamples;
};

} // namespace avcore
