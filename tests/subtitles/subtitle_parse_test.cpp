// Subtitle files to cues: each format case, each encoding, and hostile input, as
// tables. A bad cue costs only itself; limits refuse the whole file.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "avcore/subtitle_file.h"
#include "avcore/subtitle_parse.h"
#include "avcore/subtitle_text.h"

namespace {

using namespace avcore;

struct Cue {
    double start, end;
    std::wstring text;
};

struct ParseCase {
    const char* name;
    SubtitleFormat format;
    std::wstring text;
    std::vector<Cue> cues;  // expected, by start time
};

const std::wstring kLongLine(10000, L'字');
const std::wstring kUnclosed = std::wstring(100000, L'<') + std::wstring(100000, L'{');

const ParseCase kParseCases[] = {
    {"srt numbered, comma ms, LF", SubtitleFormat::Srt,
     L"1\n00:00:01,000 --> 00:00:02,500\nHello\n\n2\n00:00:03,000 --> 00:00:04,000\nTwo\nlines\n",
     {{1.0, 2.5, L"Hello"}, {3.0, 4.0, L"Two\nlines"}}},
    {"srt dot ms, CRLF, no last newline", SubtitleFormat::Srt,
     L"1\r\n00:00:01.250 --> 00:00:02.000\r\nA\r\n\r\n2\r\n01:02:03.004 --> 01:02:04.000\r\nB",
     {{1.25, 2.0, L"A"}, {3723.004, 3724.0, L"B"}}},
    {"srt blank-line slack and no numbers", SubtitleFormat::Srt,
     L"\n\n\n00:00:01,000 --> 00:00:02,000\nA\n\n\n\n\n00:00:03,000 --> 00:00:04,000 X1:10 X2:20\nB\n\n\n",
     {{1.0, 2.0, L"A"}, {3.0, 4.0, L"B"}}},
    {"srt cues without a blank line between", SubtitleFormat::Srt,
     L"1\n00:00:01,000 --> 00:00:02,000\nA\n2\n00:00:03,000 --> 00:00:04,000\nB\n",
     {{1.0, 2.0, L"A"}, {3.0, 4.0, L"B"}}},
    {"srt tags out, text kept", SubtitleFormat::Srt,
     L"1\n00:00:01,000 --> 00:00:02,000\n<i>it</i> <b>bold</b> <font color=\"#FF0000\">red</font> {\\an8}a<b\n",
     {{1.0, 2.0, L"it bold red a<b"}}},
    {"srt bad cues skipped: negative, end before start, garbage", SubtitleFormat::Srt,
     L"1\n-00:00:01,000 --> 00:00:02,000\nneg\n\n2\n00:00:05,000 --> 00:00:04,000\nbackwards\n\n"
     L"3\n00:0x:01,000 --> 00:00:02,000\njunk\n\n4\n00:00:06,000 --> 00:00:07,000\ngood\n",
     {{6.0, 7.0, L"good"}}},
    {"srt out of order and overlapping", SubtitleFormat::Srt,
     L"1\n00:00:05,000 --> 00:00:06,000\nlate\n\n2\n00:00:01,000 --> 00:00:09,000\nlong\n\n"
     L"3\n00:00:02,000 --> 00:00:03,000\ninside\n",
     {{1.0, 9.0, L"long"}, {2.0, 3.0, L"inside"}, {5.0, 6.0, L"late"}}},
    {"srt 10,000-character line", SubtitleFormat::Srt, L"1\n00:00:01,000 --> 00:00:02,000\n" + kLongLine + L"\n",
     {{1.0, 2.0, kLongLine}}},
    {"ass Format order, commas in text, breaks, overrides", SubtitleFormat::Ass,
     L"[Script Info]\nPlayResY: 720\n\n[Events]\nFormat: Start, End, Style, Layer, Name, MarginL, MarginR, "
     L"MarginV, Effect, Text\nDialogue: 0:00:01.50,0:00:03.00,Default,0,,0,0,0,,"
     L"{\\b1}Yes, sir,{\\i1} we\\Ngo\\nnow\\hthen\n"
     L"Comment: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,not shown\n",
     {{1.5, 3.0, L"Yes, sir, we\ngo\nnow then"}}},
    {"ass unterminated override block kept as text", SubtitleFormat::Ass,
     L"[Events]\nFormat: Layer, Start, End, Style, Text\nDialogue: 0,0:00:01.00,0:00:02.00,Default,{\\b1 open\n"
     L"Dialogue: 0,0:00:03.00,0:00:04.00,Default,}{}x{\n",
     {{1.0, 2.0, L"{\\b1 open"}, {3.0, 4.0, L"}x{"}}},
    {"ass bad events skipped", SubtitleFormat::Ass,
     L"[Events]\nFormat: Layer, Start, End, Style, Text\nDialogue: 0,-0:00:01.00,0:00:02.00,Default,neg\n"
     L"Dialogue: 0,0:00:02.00\nDialogue: 0,0:00:09.00,0:00:08.00,Default,backwards\n"
     L"Dialogue: 0,0:00:05.00,0:00:06.00,Default,ok\n",
     {{5.0, 6.0, L"ok"}}},
    {"srt: 200,000 unclosed marks stay text", SubtitleFormat::Srt,
     L"00:00:01,000 --> 00:00:02,000\n" + kUnclosed + L"\n", {{1.0, 2.0, kUnclosed}}},
    {"ass: 200,000 unclosed marks stay text", SubtitleFormat::Ass,
     L"[Events]\nFormat: Start, End, Text\nDialogue: 0:00:01.00,0:00:02.00," + kUnclosed + L"\n", {{1.0, 2.0, kUnclosed}}},
    {"ass dialogue before any Format is skipped", SubtitleFormat::Ass,
     L"[Events]\nDialogue: 0,0:00:01.00,0:00:02.00,Default,early\n", {}},
};

class SubtitleParseTable : public testing::TestWithParam<ParseCase> {};

TEST_P(SubtitleParseTable, GivesTheExpectedCues)
{
    const ParseCase& c = GetParam();
    SubtitleTrack track;
    const SubtitleParse result = ParseSubtitles(c.text, c.format, track);
    EXPECT_EQ(result, c.cues.empty() ? SubtitleParse::NoCues : SubtitleParse::Ok);
    ASSERT_EQ(track.cues.size(), c.cues.size());
    for (size_t i = 0; i < c.cues.size(); ++i) {
        EXPECT_NEAR(track.cues[i].start, c.cues[i].start, 1e-6) << i;
        EXPECT_NEAR(track.cues[i].end, c.cues[i].end, 1e-6) << i;
        EXPECT_EQ(track.cues[i].text, c.cues[i].text) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SubtitleParseTable, testing::ValuesIn(kParseCases));

TEST(SubtitleLook, SrtTagsSetTheCueAndAssTheTrack)
{
    SubtitleTrack srt;
    ASSERT_EQ(ParseSubtitles(L"1\n00:00:01,000 --> 00:00:02,000\n<b><i><font color=\"#00FF80\">x</font></i></b>\n",
                             SubtitleFormat::Srt, srt), SubtitleParse::Ok);
    EXPECT_TRUE(srt.cues[0].bold);
    EXPECT_TRUE(srt.cues[0].italic);
    EXPECT_EQ(srt.cues[0].colour, 0x00FF80u);

    // Default chosen over the first style; &HAABBGGRR; size scaled by PlayResY.
    SubtitleTrack ass;
    ASSERT_EQ(ParseSubtitles(L"[Script Info]\nPlayResY: 1080\n[V4+ Styles]\nFormat: Name, Fontname, Fontsize, "
                             L"PrimaryColour\nStyle: Sign,Arial,20,&H000000FF\nStyle: Default,Arial,54,&H0000FFFF\n"
                             L"[Events]\nFormat: Layer, Start, End, Text\nDialogue: 0,0:00:01.00,0:00:02.00,x\n",
                             SubtitleFormat::Ass, ass), SubtitleParse::Ok);
    EXPECT_NEAR(ass.sizeFraction, 0.05, 1e-9);
    EXPECT_EQ(ass.colour, 0xFFFF00u);
}

TEST(SubtitleLook, ActiveCuesFollowTimeWithOverlaps)
{
    SubtitleTrack track;
    ASSERT_EQ(ParseSubtitles(L"00:00:01,000 --> 00:00:09,000\nlong\n\n00:00:02,000 --> 00:00:03,000\nshort\n\n"
                             L"00:00:05,000 --> 00:00:06,000\nlater\n", SubtitleFormat::Srt, track),
              SubtitleParse::Ok);
    const struct { double t; std::vector<size_t> active; } cases[] = {
        {0.5, {}}, {1.0, {0}}, {2.5, {0, 1}}, {3.0, {0}}, {5.5, {0, 2}}, {9.0, {}}, {-4.0, {}}};
    for (const auto& c : cases) EXPECT_EQ(track.activeAt(c.t), c.active) << c.t;
}

struct EncodingCase {
    const char* name;
    std::string bytes;
    TextEncoding encoding;
    std::wstring text;  // empty: as the ANSI code page reads the bytes
};

const EncodingCase kEncodingCases[] = {
    {"utf-8 bom", "\xEF\xBB\xBF\xE4\xBD\xA0\xE5\xA5\xBD", TextEncoding::Utf8Bom, L"你好"},
    {"utf-16le bom", std::string("\xFF\xFE\x60\x4F\x7D\x59", 6), TextEncoding::Utf16Le, L"你好"},
    {"utf-16be bom", std::string("\xFE\xFF\x4F\x60\x59\x7D", 6), TextEncoding::Utf16Be, L"你好"},
    {"utf-8 without bom", "a\xE4\xBD\xA0\xF0\x9F\x98\x80", TextEncoding::Utf8, L"a你\U0001F600"},
    {"gb18030", "\xC4\xE3\xBA\xC3 ok", TextEncoding::Gb18030, L"你好 ok"},
    {"overlong utf-8 is not utf-8", "\xC0\xAF", TextEncoding::Gb18030, L""},
    {"ansi when neither fits", "caf\xE9\n", TextEncoding::Ansi, L""},
};

class SubtitleEncodingTable : public testing::TestWithParam<EncodingCase> {};

TEST_P(SubtitleEncodingTable, ChoosesAndDecodes)
{
    const EncodingCase& c = GetParam();
    const DecodedText decoded = DecodeSubtitleBytes(c.bytes);
    EXPECT_EQ(decoded.encoding, c.encoding) << c.name;
    if (!c.text.empty()) {
        EXPECT_EQ(decoded.text, c.text) << c.name;
    } else if (c.encoding == TextEncoding::Ansi) {
        wchar_t ansi[16] = {};
        MultiByteToWideChar(CP_ACP, 0, c.bytes.data(), static_cast<int>(c.bytes.size()), ansi, 16);
        EXPECT_EQ(decoded.text, ansi) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SubtitleEncodingTable, testing::ValuesIn(kEncodingCases));

std::wstring TempPath(const wchar_t* name)
{
    wchar_t dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

// Limits and files: a big or crowded file is refused whole, a missing one is unreadable,
// and the name says ASS while an .srt-named script is still read as one.
TEST(SubtitleFile, LimitsAndFormats)
{
    const std::wstring big = TempPath(L"morvane_subs_big.srt");
    ASSERT_TRUE(std::ofstream(std::filesystem::path(big)));
    std::filesystem::resize_file(big, kMaxSubtitleFileBytes + 1);
    SubtitleTrack track;
    EXPECT_EQ(LoadSubtitleFile(big.c_str(), track), kSubtitlesTooLarge);
    DeleteFileW(big.c_str());
    EXPECT_EQ(LoadSubtitleFile(TempPath(L"morvane_subs_missing.srt").c_str(), track), kSubtitlesUnreadable);

    const struct { const wchar_t* name; std::string content; SubtitleLoad result; } files[] = {
        {L"morvane_subs_a.srt", "1\n00:00:01,000 --> 00:00:02,000\nA\n", kSubtitlesLoaded},
        {L"morvane_subs_b.ssa", "[Events]\nFormat: Marked, Start, End, Style, Name, MarginL, MarginR, MarginV, "
                                "Effect, Text\nDialogue: Marked=0,0:00:01.00,0:00:02.00,*Default,,0,0,0,,B\n",
         kSubtitlesLoaded},
        {L"morvane_subs_c.srt", "[Script Info]\n[Events]\nFormat: Start, End, Text\nDialogue: 0:00:01.00,0:00:02.00,C\n",
         kSubtitlesLoaded},
        {L"morvane_subs_d.srt", "no cues at all\n", kSubtitlesNoCues},
    };
    for (const auto& f : files) {
        const std::wstring path = TempPath(f.name);
        ASSERT_TRUE(std::ofstream(std::filesystem::path(path), std::ios::binary) << f.content);
        EXPECT_EQ(LoadSubtitleFile(path.c_str(), track), f.result) << f.content;
        DeleteFileW(path.c_str());
    }
}

TEST(SubtitleFile, MoreThanTheCueLimitIsRefused)
{
    const std::wstring cue = L"00:00:01,000 --> 00:00:02,000\nx\n\n";
    std::wstring text;
    text.reserve((kMaxSubtitleCues + 1) * cue.size());
    for (size_t i = 0; i <= kMaxSubtitleCues; ++i) text += cue;
    SubtitleTrack track;
    EXPECT_EQ(ParseSubtitles(text, SubtitleFormat::Srt, track), SubtitleParse::TooManyCues);
    EXPECT_TRUE(track.cues.empty());
    text.resize(kMaxSubtitleCues * cue.size());  // exactly the limit
    EXPECT_EQ(ParseSubtitles(text, SubtitleFormat::Srt, track), SubtitleParse::Ok);
    EXPECT_EQ(track.cues.size(), kMaxSubtitleCues);
}

} // namespace
