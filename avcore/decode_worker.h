#pragma once
// The decode thread: owns the Source Reader, turns pictures into BGRA with the
// chosen effect (so the UI and render threads never convert) and fills the queues.
#include <windows.h>

#include "avcore/effects/frame_pipeline.h"
#include "avcore/media_source.h"
#include "avcore/session_state.h"

namespace avcore {

class DecodeWorker {
public:
    DecodeWorker(SessionState& state, OpenRequest request) : m_s(state), m_request(std::move(request)) {}

    void run();  // thread body; reports the open through state.openOk and state.opened

private:
    bool openFile();
    void seekTo(double target, uint64_t generation);
    void readVideo(uint64_t generation);
    void readAudio(uint64_t generation);
    FramePtr convert(const VideoSample& sample, uint64_t generation);
    bool publishFirst(const VideoSample& sample, uint64_t generation);  // the preroll picture
    bool superseded(uint64_t generation);

    SessionState& m_s;
    OpenRequest m_request;

    MediaSource m_source;
    avfx::FramePipeline m_pipeline;
    int m_configuredWidth = 0, m_configuredHeight = 0;
    avfx::ColorMatrix m_configuredMatrix = avfx::ColorMatrix::BT601;
    double m_lastVideoPts = 0.0;
    double m_lastAudioPts = 0.0;
    int m_lateInARow = 0;
    VideoSample m_firstVideo;   // read by openFile, queued by run
    AudioChunk m_firstAudio;
    bool m_haveFirstAudio = false;
};

} // namespace avcore
