#pragma once
// Subtitle cues as the engine draws them: plain text with line breaks, a time span
// and the look of the whole cue. Parsed from SRT or ASS/SSA (subtitle_parse.h).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace avcore {

struct SubtitleCue {
    double start = 0.0;  // seconds, stream time
    double end = 0.0;    // seconds, after start
    std::wstring text;   // lines separated by L'\n', markup removed
    uint32_t colour = 0; // 0xRRGGBB; 0 for the track's colour (a black text is drawn as 0x010101)
    bool bold = false;
    bool italic = false;
};

struct SubtitleTrack {
    std::vector<SubtitleCue> cues;     // by start time
    std::vector<double> endsSoFar;     // endsSoFar[i]: the latest end of cues[0..i]
    double sizeFraction = 0.055;       // text height as a share of the picture's height
    uint32_t colour = 0xFFFFFF;        // 0xRRGGBB

    // Sorts the cues and prepares the look-up; call once after filling cues.
    void finish();
    // Indexes of the cues shown at time t, earliest start first.
    std::vector<size_t> activeAt(double t) const;
};

} // namespace avcore
