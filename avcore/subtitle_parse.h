#pragma once
// Parsing of SRT and ASS/SSA subtitle text (already decoded to UTF-16). A cue that
// cannot be read is skipped; the rest of the file still counts.
#include <cstddef>
#include <string_view>

#include "avcore/subtitle_cues.h"

namespace avcore {

enum class SubtitleFormat { Srt, Ass };  // Ass covers SSA too

// Files with more cues than this are refused whole.
constexpr size_t kMaxSubtitleCues = 100000;

enum class SubtitleParse { Ok, NoCues, TooManyCues };

// Fills track (cleared first) from text and sorts it; Ok when it holds at least one cue.
SubtitleParse ParseSubtitles(std::wstring_view text, SubtitleFormat format, SubtitleTrack& track);

} // namespace avcore
