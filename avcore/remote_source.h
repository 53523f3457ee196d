#pragma once
// The file being played, as the decode thread sees it: read by a decoder process of
// its own (taken warm from the pool), with each picture handed over in a slot of a
// shared ring that the converter reads in place. Every command is bounded by the
// file's call budget and by the session's cancel event; a decoder that misses either
// is killed, so the calling thread always comes back.
#include <windows.h>

#include <memory>
#include <string>

#include "avcore/decoder_process.h"
#include "avcore/media_source.h"
#include "avcore/reader_faults.h"
#include "avcore/video_sample.h"

namespace avcore {

class PictureRing;

class RemoteSource {
public:
    RemoteSource(HANDLE cancel, DWORD budgetMs) : m_cancel(cancel), m_budgetMs(budgetMs) {}
    ~RemoteSource();
    RemoteSource(const RemoteSource&) = delete;
    RemoteSource& operator=(const RemoteSource&) = delete;

    // False when the file cannot be read, has no video stream of known size, or the
    // decoder did not answer in time.
    bool open(const std::wstring& path, const ReaderFaultSeam& fault = {});
    void close();  // ends the decoder process; slots still held stay readable
    const MediaInfo& info() const { return m_info; }
    // The decoder died or was killed in a call: nothing more comes from this file.
    bool lost() const { return m_lost; }
    DWORD processId() const;

    ReadStatus readVideo(VideoSample& out);  // may update info().video (format change)
    ReadStatus readAudio(AudioChunk& out);
    bool seek(double seconds);               // lands near the time; callers refine it
    // Sound from audio track `index` (from 0) from `seconds` on (see TrackSwitch).
    TrackSwitch selectAudioTrack(int index, double seconds);

private:
    decoder::Result call(decoder::Command command, DWORD budgetMs);  // Failed also when the decoder is gone

    HANDLE m_cancel;
    DWORD m_budgetMs;
    std::unique_ptr<DecoderProcess> m_decoder;
    std::shared_ptr<PictureRing> m_ring;
    MediaInfo m_info;
    bool m_lost = false;
};

} // namespace avcore
