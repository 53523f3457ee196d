// Which subtitle goes with a video, and the texts of the subtitle keys and refusals.
#include <gtest/gtest.h>

#include "playback/SubtitleFiles.h"

namespace {

using Names = std::vector<std::wstring>;

TEST(SubtitleFiles, TheSameNameFirstThenALanguagePartInExtensionOrder) {
    const struct { const wchar_t* video; Names folder; const wchar_t* chosen; } cases[] = {
        {L"movie.mp4", {L"movie.ssa", L"movie.ass", L"movie.srt"}, L"movie.srt"},
        {L"movie.mp4", {L"movie.ssa", L"MOVIE.ASS"}, L"MOVIE.ASS"},
        {L"movie.mp4", {L"movie.zh.ass", L"movie.chs.srt", L"movie.ssa"}, L"movie.ssa"},
        {L"movie.mp4", {L"movie.zh.ass", L"movie.eng.srt", L"movie.chs.srt"}, L"movie.chs.srt"},
        {L"movie.mp4", {L"movie.zh.ass", L"movie.mp4"}, L"movie.zh.ass"},
        {L"movie.mp4", {L"movie2.srt", L"movie..srt", L"movie.a.b.srt", L"movies.srt", L"movie.txt"}, L""},
        {L"my.movie.mkv", {L"my.srt", L"my.movie.en.srt"}, L"my.movie.en.srt"},
    };
    for (const auto& c : cases) EXPECT_EQ(playlist::ChooseSubtitle(c.video, c.folder), c.chosen) << c.chosen;
    EXPECT_EQ(playlist::SubtitleCandidates(L"a.mkv", {L"a.zh.ass", L"a.ssa", L"A.eng.srt", L"a.chs.srt", L"a.srt", L"b.srt"}),
              (Names{L"a.srt", L"a.ssa", L"a.chs.srt", L"A.eng.srt", L"a.zh.ass"}));
}

TEST(SubtitleFiles, TextsOfTheDelayAndOfEachRefusal) {
    EXPECT_EQ(playlist::SubtitleDelayText(0.3), L"字幕延迟 +0.3 秒");
    EXPECT_EQ(playlist::SubtitleDelayText(-1.2), L"字幕延迟 -1.2 秒");
    EXPECT_EQ(playlist::SubtitleDelayText(-0.04), L"字幕延迟 +0.0 秒");
    EXPECT_TRUE(playlist::SubtitleRefusalText(1).empty());
    for (int refused : {0, -1, -2, -3}) EXPECT_FALSE(playlist::SubtitleRefusalText(refused).empty()) << refused;
    EXPECT_TRUE(playlist::IsSubtitleFileName(L"C:\\a\\B.SSA"));
    EXPECT_FALSE(playlist::IsSubtitleFileName(L"C:\\a\\b.srt.mp4"));
}

} // namespace
