#pragma once
// Which subtitle file goes with a video, and the texts the subtitle keys show.
#include <string>
#include <vector>

namespace playlist {

// True for .srt, .ass and .ssa names (any case).
bool IsSubtitleFileName(const std::wstring& name);

// Of the names in the video's folder, the subtitles that go with it, best first: the
// same name with .srt, .ass or .ssa, in that order, then the same with a language part
// between (movie.chs.srt, movie.zh.ass), by extension in that order, then by name.
std::vector<std::wstring> SubtitleCandidates(const std::wstring& videoName, const std::vector<std::wstring>& namesInFolder);
// The first of SubtitleCandidates; empty when none fits.
std::wstring ChooseSubtitle(const std::wstring& videoName, const std::vector<std::wstring>& namesInFolder);

// SubtitleCandidates of videoPath's folder on disk, as full paths (what a menu lists).
std::vector<std::wstring> SubtitlesBeside(const std::wstring& videoPath);
// The first of SubtitlesBeside; empty when none.
std::wstring FindSubtitleBeside(const std::wstring& videoPath);

// "字幕延迟 +0.3 秒" for a shift of 0.3 s (rounded to tenths).
std::wstring SubtitleDelayText(double seconds);

// What the user reads when a subtitle file is not taken, for avplayer::set_subtitles's result;
// empty when it was loaded.
std::wstring SubtitleRefusalText(int result);

} // namespace playlist
