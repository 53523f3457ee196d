#include "avcore/warm_up.h"

#include <mfapi.h>
#include <shlwapi.h>

#include "avcore/media_source.h"

// The clip (avcore/warm_up_clip.mp4: 0.2 s of black at 1920x1080 with a tone, made with
// ffmpeg, 4 KB) lies in the program; at that size the decoder sets up what an HD file needs.
asm(".section .rdata,\"dr\"\n"
    ".balign 16\n"
    "avcore_warm_up_clip:\n"
    ".incbin \"" AVCORE_WARM_UP_CLIP "\"\n"
    "avcore_warm_up_clip_end:\n"
    ".text\n");
extern "C" const unsigned char avcore_warm_up_clip[];
extern "C" const unsigned char avcore_warm_up_clip_end[];
STDAPI MFCreateMFByteStreamOnStream(IStream* stream, IMFByteStream** byteStream);  // see file_stream.cpp

namespace avcore {

void WarmUpPlatform()
{
    const auto bytes = static_cast<UINT>(avcore_warm_up_clip_end - avcore_warm_up_clip);
    Microsoft::WRL::ComPtr<IStream> stream;
    stream.Attach(SHCreateMemStream(avcore_warm_up_clip, bytes));
    Microsoft::WRL::ComPtr<IMFByteStream> byteStream;
    if (!stream || FAILED(MFCreateMFByteStreamOnStream(stream.Get(), &byteStream))) return;
    Microsoft::WRL::ComPtr<IMFAttributes> streamAttributes;
    if (SUCCEEDED(byteStream.As(&streamAttributes)))
        streamAttributes->SetString(MF_BYTESTREAM_CONTENT_TYPE, L"video/mp4");
    MediaSource source;
    const bool opened = source.open(L"warm-up.mp4", [&](const std::wstring&, IMFAttributes* attributes,
                                                         IMFSourceReader** reader) {
        return MFCreateSourceReaderFromByteStream(byteStream.Get(), attributes, reader);
    });
    if (!opened) return;
    ReaderSample picture;
    AudioChunk sound;
    source.readVideo(picture);
    source.readAudio(sound);
}

} // namespace avcore
