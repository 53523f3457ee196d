#pragma once
// The decode thread: drives the file's decoder process and fills the queues. Its
// conversion stage turns pictures into BGRA with the chosen effect meanwhile, so the
// UI and render threads never convert.
#include <windows.h>

#include <memory>

#include "avcore/convert_stage.h"
#include "avcore/remote_source.h"
#include "avcore/session_state.h"

namespace avcore {

class DecodeWorker {
public:
    // The pool is the session's: a decoder that outlives its session must not keep it.
    DecodeWorker(SessionState& state, OpenRequest request, std::weak_ptr<FramePool> pool, ReaderFaultSeam fault);

    void run();  // thread body; reports the open through state.openOk and state.opened

private:
    bool openFile();
    void seekTo(double target, uint64_t generation);
    TrackSwitch switchAudioTrack(int number, double at);  // the sound from `at` on
    void restartSound(uint64_t generation);         // the new track's sound replaces what is queued
    void readVideo(uint64_t generation);
    void readAudio(uint64_t generation);
    void deliver(FramePtr frame, uint64_t generation);  // from the conversion stage
    bool publishFirst(const VideoSample& sample, uint64_t generation);  // the preroll picture
    void endPicturesAfterSeek(uint64_t generation);  // no picture at or after the target (or none at all)
    bool superseded(uint64_t generation);
    ReadStatus timedReadVideo(VideoSample& sample);  // the source's read, tallied in the stats
    void noteLost();  // a failed read: was it the decoder that went?

    SessionState& m_s;
    OpenRequest m_request;
    ReaderFaultSeam m_fault;

    RemoteSource m_source;
    ConvertStage m_stage;
    double m_lastVideoPts = 0.0;
    double m_lastAudioPts = 0.0;
    int m_lateInARow = 0;
    double m_seekLead = 0.0;    // how far before a target to ask the reader for it
    VideoSample m_firstVideo;   // read by openFile, queued by run
    AudioChunk m_firstAudio;
    bool m_haveFirstAudio = false;
    int m_audioTrack = 1;       // the track the decoder reads
};

} // namespace avcore
