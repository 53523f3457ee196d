#pragma once
// Reading a subtitle file (.srt, .ass, .ssa) into cues, within the limits the
// engine keeps: a file over kMaxSubtitleFileBytes or with too many cues is refused.
#include <cstdint>

#include "avcore/subtitle_cues.h"

namespace avcore {

constexpr uint64_t kMaxSubtitleFileBytes = 20ull * 1024 * 1024;

// The values avplayer::set_subtitles returns.
enum SubtitleLoad : int {
    kSubtitlesLoaded = 1,
    kSubtitlesUnreadable = 0,   // missing, locked or not a file
    kSubtitlesNoCues = -1,      // read, but not one cue could be used
    kSubtitlesTooLarge = -2,    // over kMaxSubtitleFileBytes
    kSubtitlesTooManyCues = -3, // over kMaxSubtitleCues
};

SubtitleLoad LoadSubtitleFile(const wchar_t* path, SubtitleTrack& track);

} // namespace avcore
