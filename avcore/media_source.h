#pragma once
// The file being played, read through Media Foundation's Source Reader: the first
// video stream as NV12 (I420 when NV12 is refused) and the first audio stream as
// 16-bit PCM; a file may have either or both. Lives in the decoder process (decoder_host), on its one thread.
#include <windows.h>
#include <mfidl.h>
#include <mfreadwrite.h>
#include <wrl/client.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "avcore/effects/frame_pipeline.h"

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

struct MediaInfo {
    bool hasVideo = false;  // false: sound only
    VideoFormat video;
    bool hasAudio = false;
    AudioFormat audio;
    double duration = 0.0;  // seconds, 0 when unknown
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

private:
    bool configureVideo();
    bool configureAudio();
    bool readVideoFormat();
    Microsoft::WRL::ComPtr<IMFSourceReader> m_reader;
    MediaInfo m_info;
};

} // namespace avcore
