// Which engine open a path goes through: the ANSI form when it says the same path, else the short
// form, else the wide entry; a short-path look-up that does not come back is given up in budget.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "app_support/recording_avplayer.h"
#include "duilib/UIPath.h"
#include "playback/EnginePath.h"
#include "support/pump.h"

using DuiLib::OpenInEngine;

namespace {

constexpr EffectSettings kEffect{2, 7};

// What the recording engine answers as its call budget, for one test.
class Budget {
public:
    explicit Budget(unsigned long ms) { recording::g_callBudgetMs = ms; }
    ~Budget() { recording::g_callBudgetMs = 2000; }
};

std::wstring Ascii(size_t bytes) {
    const std::wstring start = L"C:\\films\\";
    return start + std::wstring(bytes - start.size() - 4, L'n') + L".mp4";
}

struct ChoiceCase {
    const char* what;
    std::wstring path;
    std::wstring shortPath;   // what the look-up answers
    std::string opened;       // the engine's one call
    bool looksUp;
};

TEST(EnginePath, TheAnsiFormWhenExactElseTheShortFormElseTheWideEntry) {
    ASSERT_NE(GetACP(), static_cast<UINT>(CP_UTF8)) << "every name has an exact ANSI form in this code page";
    const std::wstring foreign = L"C:\\films\\\u89c6\u9891-\u03a9mega.mp4";
    const std::string foreignUtf8 = "C:\\films\\\xe8\xa7\x86\xe9\xa2\x91-\xce\xa9mega.mp4";
    const std::wstring longestWide = Ascii(avplayer::kMaxAnsiPathBytes);
    const std::wstring tooLongWide = Ascii(avplayer::kMaxAnsiPathBytes + 1);
    const std::string longest(longestWide.begin(), longestWide.end());
    const std::string tooLong(tooLongWide.begin(), tooLongWide.end());
    const std::vector<ChoiceCase> cases = {
        {"plain", L"C:\\films\\clip one.mp4", L"C:\\films\\CLIPON~1.MP4", "open(C:\\films\\clip one.mp4,0,2,2,7)", false},
        {"at the limit", Ascii(avplayer::kMaxAnsiPathBytes), L"C:\\films\\N~1.MP4", "open(" + longest + ",0,2,2,7)", false},
        {"foreign, short name", foreign, L"C:\\films\\F6A1~1.MP4", "open(C:\\films\\F6A1~1.MP4,0,2,2,7)", true},
        {"foreign, no short name", foreign, L"", "open_wide(" + foreignUtf8 + ",0,2,2,7)", true},
        {"foreign, the long name back", foreign, foreign, "open_wide(" + foreignUtf8 + ",0,2,2,7)", true},
        {"foreign, a lossy short name", foreign, L"C:\\\u89c6\u9891\\F6A1~1.MP4", "open_wide(" + foreignUtf8 + ",0,2,2,7)",
         true},
        {"over the limit, short name", Ascii(avplayer::kMaxAnsiPathBytes + 1), L"C:\\films\\N~1.MP4",
         "open(C:\\films\\N~1.MP4,0,2,2,7)", true},
        {"over the limit, no short name", Ascii(avplayer::kMaxAnsiPathBytes + 1), L"",
         "open_wide(" + tooLong + ",0,2,2,7)", true},
    };
    const Budget generous(60000);   // the look-up answers at once, however loaded the machine
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(c.what);
        avplayer player;
        bool lookedUp = false;
        const int opened = OpenInEngine(player, c.path, kEffect, [&, answer = c.shortPath](const std::wstring& asked) {
            lookedUp = asked == c.path;
            return answer;
        });
        EXPECT_EQ(opened, 1);
        EXPECT_EQ(recording::Of(player).CommandTexts(), std::vector<std::string>{c.opened});
        EXPECT_EQ(lookedUp, c.looksUp);
    }
    avplayer player;
    EXPECT_EQ(OpenInEngine(player, L"", kEffect), 0);
    EXPECT_TRUE(recording::Of(player).CommandTexts().empty());
}

// The one \\?\ form behind the long paths the engine, the listings and the skin reach.
TEST(EnginePath, LongPathsTakeTheExtendedFormOnceAndDevicePathsNever) {
    const std::wstring deep = L"C:\\" + std::wstring(MAX_PATH, L'd');
    const std::wstring share = L"\\\\srv\\s\\" + std::wstring(MAX_PATH, L's');
    const std::wstring device = L"\\\\.\\pipe\\" + std::wstring(MAX_PATH, L'p');
    const struct { std::wstring path, extended, longForm; } cases[] = {
        {deep, L"\\\\?\\" + deep, L"\\\\?\\" + deep},
        {share, L"\\\\?\\UNC\\" + share.substr(2), L"\\\\?\\UNC\\" + share.substr(2)},
        {L"\\\\?\\" + deep, L"\\\\?\\" + deep, L"\\\\?\\" + deep},
        {device, device, device},
        {L"C:\\a.mp4", L"\\\\?\\C:\\a.mp4", L"C:\\a.mp4"},   // short: left as it is
        {L"rel\\" + deep.substr(3), L"\\\\?\\rel\\" + deep.substr(3), L"rel\\" + deep.substr(3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.path.begin(), c.path.begin() + 12));
        EXPECT_EQ(DuiLib::ExtendedPathForm(c.path), c.extended);
        EXPECT_EQ(DuiLib::LongPathForm(c.path), c.longForm);
    }
}

TEST(EnginePath, AShortPathLookUpThatHangsIsGivenUpWithinTheBudget) {
    // The file system answers only when the test lets it, long after the budget.
    struct Share {
        HANDLE answer = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        std::atomic<bool> answered{false};
        ~Share() { CloseHandle(answer); }
    };
    auto share = std::make_shared<Share>();
    avplayer player;
    int opened = -1;
    {
        const Budget tight(300);
        opened = OpenInEngine(player, L"\\\\gone\\share\\\u89c6\u9891.mp4", kEffect, [share](const std::wstring&) {
            WaitForSingleObject(share->answer, 30000);
            share->answered = true;
            return std::wstring(L"\\\\gone\\share\\F6A1~1.MP4");
        });
    }
    EXPECT_EQ(opened, 0);
    EXPECT_FALSE(share->answered) << "the caller waited for the file system";
    EXPECT_TRUE(recording::Of(player).CommandTexts().empty()) << "nothing to hand the engine";

    // The look-up let go ends harmlessly when the system answers at last.
    SetEvent(share->answer);
    EXPECT_TRUE(testsupport::PumpUntil([&] { return share->answered.load(); }, 10000));
}

} // namespace
