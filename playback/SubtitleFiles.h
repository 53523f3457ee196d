#pragma once
// Which subtitle file goes with a video, and the texts the subtitle keys show.
#include <string>
#include <vector>

namespace playlist {

// True for .srt, .ass and .ssa names (any case).
bool IsSubtitleFileName(const std::wstring& name);

// Of the names in the video's folder, the subtitle that goes with it: the same name
// with .srt, .ass or .ssa, in that order, else the same with a language part between
// (movie.chs.srt, movie.zh.ass), in the same order. Empty when none fits.
std::wstring ChooseSubtitle(const std::wstring& videoName, const std::vector<std::wstring>& namesInFolder);

// The full path of the subtitle beside videoPath, looked up on disk; empty when none.
std::wstring FindSubtitleBeside(const std::wstring& videoPath);

// "字幕延迟 +0.3 秒" for a shift of 0.3 s (rounded to tenths).
std::wstring SubtitleDelayText(double seconds);

// What the user reads when a subtitle file is not taken, for avplayer::set_subtitles's result;
// empty when it was loaded.
std::wstring SubtitleRefusalText(int result);

} // namespace playlist
