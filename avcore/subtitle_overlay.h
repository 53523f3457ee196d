#pragma once
// Subtitles drawn onto a converted picture at the size it is shown, so they sit over
// any shape or effect and keep the same share of the picture at every window size.
// Text is rendered once per change of cues or size and kept; each picture then only
// blends that image. Safe to call from the render thread and the UI thread at once.
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "avcore/subtitle_cues.h"

namespace avcore {

class SubtitleOverlay {
public:
    void setTrack(std::shared_ptr<const SubtitleTrack> track);  // null clears; the delay goes back to 0
    bool hasTrack() const;
    void setVisible(bool visible);
    bool visible() const;
    void setDelay(double seconds);  // positive shows every cue later
    double delay() const;

    // True when a picture of stream time pts carries text.
    bool dueAt(double pts) const;
    // Blends the cues due at pts onto a top-down BGRA picture.
    void drawOnto(uint8_t* bgra, int width, int height, int stride, double pts);

private:
    struct Image {  // the cue text as coverage masks, placed at (left, top) of the picture
        const SubtitleTrack* track = nullptr;
        std::vector<size_t> cues;
        int pictureWidth = 0, pictureHeight = 0;
        int left = 0, top = 0, width = 0, height = 0;
        std::vector<uint8_t> text, outline;  // width * height each
        uint32_t colour = 0;
    };
    void render(Image& image, const SubtitleTrack& track) const;

    mutable std::mutex m_lock;
    std::shared_ptr<const SubtitleTrack> m_track;  // guarded by m_lock
    bool m_visible = true;                         // guarded by m_lock
    double m_delay = 0.0;                          // guarded by m_lock
    std::mutex m_imageLock;
    Image m_image;                                 // guarded by m_imageLock
};

} // namespace avcore
