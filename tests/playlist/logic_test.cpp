// The playlist's window-free logic, as tables: splitting a dialog result, column texts
// through the list callback, the duplicate index, and the dialog request.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "playback/AddFilesDialog.h"
#include "playback/DialogResult.h"
#include "playback/ListCallback.h"
#include "playback/PathIndex.h"

using namespace std::string_literals;
using DuiLib::CListCallbackUI;
using DuiLib::CListTextElementUI;

namespace {

using Files = std::vector<std::pair<std::wstring, std::wstring>>;   // (full path, name)

Files Split(const std::wstring& result, size_t offset) {
    Files out;
    for (const auto& f : playlist::SplitDialogResult(result.data(), result.size(), offset))
        out.emplace_back(f.fullPath, f.name);
    return out;
}

const std::wstring kLongFolder = L"D:\\" + std::wstring(300, L'f');       // 303 units
const std::wstring kMidFolder = L"D:\\" + std::wstring(200, L'm');        // 203 units
const std::wstring kLongName = std::wstring(100, L'n') + L".mkv";         // 104 units

struct SplitCase {
    const char* what;
    std::wstring result;
    size_t offset;
    Files expected;
};

TEST(DialogResult, SplitsEveryForm) {
    const std::vector<SplitCase> cases = {
        {"one file", L"D:\\films\\a.mkv\0"s, 9, {{L"D:\\films\\a.mkv", L"a.mkv"}}},
        {"several, in dialog order", L"D:\\films\0b.mkv\0a.avi\0c.mp4\0\0"s, 9,
         {{L"D:\\films\\b.mkv", L"b.mkv"}, {L"D:\\films\\a.avi", L"a.avi"}, {L"D:\\films\\c.mp4", L"c.mp4"}}},
        {"one file in a root gets the backslash back", L"C:\\a.avi\0"s, 3, {{L"C:\\a.avi", L"a.avi"}}},
        {"several in a root keep one backslash", L"C:\\\0a.avi\0b.avi\0\0"s, 4,
         {{L"C:\\a.avi", L"a.avi"}, {L"C:\\b.avi", L"b.avi"}}},
        {"one file over an earlier result left in the buffer", L"C:\\a.avi\0avi\0y.avi\0\0"s, 3,
         {{L"C:\\a.avi", L"a.avi"}}},
        {"folder of 260 units or more", kLongFolder + L"\0x.avi\0y.avi\0\0"s, kLongFolder.size() + 1,
         {{kLongFolder + L"\\x.avi", L"x.avi"}, {kLongFolder + L"\\y.avi", L"y.avi"}}},
        {"folder and name past 259 units", kMidFolder + L"\0"s + kLongName + L"\0\0"s, kMidFolder.size() + 1,
         {{kMidFolder + L"\\" + kLongName, kLongName}}},
        {"one long file", kLongFolder + L"\\" + kLongName + L"\0"s, kLongFolder.size() + 1,
         {{kLongFolder + L"\\" + kLongName, kLongName}}},
        {"last name runs to the end of the buffer", L"C:\\v\0a.avi\0b.avi"s, 5,
         {{L"C:\\v\\a.avi", L"a.avi"}, {L"C:\\v\\b.avi", L"b.avi"}}},
        {"a NUL inside the folder ends it", L"C:\\v\0w\0a.avi\0\0"s, 7, {{L"C:\\v\\a.avi", L"a.avi"}}},
        {"no name after the folder", L"C:\\v\0\0"s, 5, {}},
        {"offset 0", L"C:\\v\0a.avi\0\0"s, 0, {}},
        {"offset 1: no folder", L"C:\\v\0a.avi\0\0"s, 1, {}},
        {"empty folder", L"\0a.avi\0\0"s, 1, {}},
        {"offset at the end", L"C:\\v\0a.avi\0\0"s, 12, {}},
        {"offset past the end", L"C:\\v\0a.avi\0\0"s, 400, {}},
        {"empty buffer", L""s, 0, {}},
    };
    for (const SplitCase& c : cases)
        EXPECT_EQ(Split(c.result, c.offset), c.expected) << c.what;
    EXPECT_TRUE(playlist::SplitDialogResult(nullptr, 10, 3).empty());
}

struct TextCase {
    const wchar_t* userData;
    int column;
    std::wstring expected;
    const wchar_t* rowPath = L"";
};

TEST(ListCallback, GetItemTextCutsColumnsOutOfUserDataAndShowsAFileNameHoldingTheMarkerWhole) {
    const std::wstring longText(1500, L'x');
    const std::vector<TextCase> cases = {
        {L"a.avi{#0}", 0, L"a.avi"},
        {L"a.avi{#0}", 1, L""},
        {L"a.avi", 0, L""},
        {L"{#0}", 0, L""},
        {L"", 0, L""},
        {L"n{#0}s{#1}d{#2}", 1, L"s"},
        {L"n{#0}s{#1}d{#2}", 2, L"d"},
        {L"n{#0}s{#1}d{#2}", 3, L""},
        {L"{#1}x{#0}y{#1}", 1, L"y"},                 // the marker for 1 is sought after the one for 0
        {L"a{#0}b{#2}c{#1}", 1, L"b{#2}c"},
        {L"a{#0}b{#2}c{#1}", 2, L""},                 // no "{#2}" after the first "{#1}"
        {L"x{#6}", 6, L""},
        {L"{#5}z{#6}", 6, L"z"},
        {L"\u64ad\u653e.mkv{#0}", 0, L"\u64ad\u653e.mkv"},
        // The row's own file name holding a marker shows whole.
        {L"a{#0}b.mkv{#0}", 0, L"a{#0}b.mkv", L"D:\\films\\a{#0}b.mkv"},
        {L"{#0}{#0}.mkv{#0}", 0, L"{#0}{#0}.mkv", L"D:\\films\\{#0}{#0}.mkv"},
        {L"x{#1}y.mkv{#0}", 0, L"x{#1}y.mkv", L"D:\\films\\x{#1}y.mkv"},
        {L"a{#0}b.mkv{#0}", 0, L"a{#0}b.mkv", L"a{#0}b.mkv"},               // a name without a folder
        // User data that is not the row's file name reads by the first marker, as before.
        {L"a{#0}b.mkv{#0}", 0, L"a", L"D:\\films\\other.mkv"},
        {L"a{#0}b.mkv{#0}s{#1}", 0, L"a", L"D:\\films\\a{#0}b.mkv"},
        {L"a{#0}b.mkv", 0, L"a", L"D:\\films\\a{#0}b.mkv"},
    };
    CListCallbackUI callback;
    CListTextElementUI row;
    for (const TextCase& c : cases) {
        row.SetName(c.rowPath);
        row.SetUserData(c.userData);
        EXPECT_EQ(std::wstring(callback.GetItemText(&row, 3, c.column)), c.expected)
            << testing::PrintToString(std::wstring(c.userData)) << " column " << c.column << " in "
            << testing::PrintToString(std::wstring(c.rowPath));
    }

    // Texts longer than the shared buffer are cut, never written past it.
    row.SetName(L"");
    row.SetUserData((longText + L"{#0}").c_str());
    EXPECT_EQ(std::wstring(callback.GetItemText(&row, 0, 0)), longText.substr(0, 1023));
    row.SetUserData((longText.substr(0, 1023) + L"{#0}").c_str());
    EXPECT_EQ(std::wstring(callback.GetItemText(&row, 0, 0)), longText.substr(0, 1023));
    EXPECT_EQ(callback.GetItemText(nullptr, 0, 0), std::wstring());
}

TEST(ListCallback, ColumnOutsideRangeReturnsThePreviousText) {
    CListCallbackUI callback;
    CListTextElementUI first;
    CListTextElementUI other;
    first.SetUserData(L"a.avi{#0}");
    other.SetUserData(L"b.avi{#0}");
    const wchar_t* text = callback.GetItemText(&first, 0, 0);
    for (int column : {7, -1, 100, INT_MIN}) {
        EXPECT_EQ(callback.GetItemText(&other, 1, column), text) << column;   // the same buffer
        EXPECT_EQ(std::wstring(text), L"a.avi") << column;
    }
    // Every call shares the buffer: a valid column overwrites it.
    callback.GetItemText(&other, 1, 0);
    EXPECT_EQ(std::wstring(text), L"b.avi");
}

struct SetCase {
    const wchar_t* userData;
    int column;
    const wchar_t* text;
    std::wstring expected;
};

TEST(ListCallback, SetItemTextReplacesOneColumn) {
    const std::wstring longText(1500, L'x');
    const std::wstring longData = longText + L"{#0}";
    const std::vector<SetCase> cases = {
        {L"a.avi{#0}", 0, L"b.avi", L"b.avi{#0}"},
        {L"n{#0}s{#1}", 1, L"t", L"n{#0}t{#1}"},
        {L"n{#0}s{#1}", 0, L"m", L"m{#0}s{#1}"},
        {L"a.avi{#0}", 1, L"x", L"a.avi{#0}"},        // no column 1 to replace
        {L"a{#0}a{#0}", 0, L"b", L"b{#0}b{#0}"},      // every occurrence
        {L"a{#0}", 0, nullptr, L"{#0}"},
        {L"a{#0}", 7, L"b", L"a{#0}"},
        {L"a{#0}", -1, L"b", L"a{#0}"},
        {longData.c_str(), 0, L"short", L"short{#0}"},   // found by its whole text, not the cut one
    };
    CListCallbackUI callback;
    CListTextElementUI row;
    for (const SetCase& c : cases) {
        row.SetUserData(c.userData);
        callback.SetItemText(&row, 0, c.column, c.text);
        EXPECT_EQ(std::wstring(row.GetUserData()), c.expected)
            << testing::PrintToString(std::wstring(c.userData).substr(0, 40)) << " column " << c.column;
    }
    callback.SetItemText(nullptr, 0, 0, L"x");   // nothing to change, and no crash
}

TEST(PathIndex, FindsWhatTheLinearTestFinds) {
    // Pairs that differ by case in several scripts, by width, by a space or a separator.
    const std::vector<std::wstring> known = {
        L"C:\\Films\\a.avi", L"D:\\\u00c4rger\\\u00dcber.mkv", L"E:\\\u0416\u0443\u043a.mp4",
        L"F:\\\u03a3\u039f\u03a6\u0399\u0391.flv", L"G:\\x", L"H:\\\uff21.avi", L"I:\\stra\u00dfe.avi",
        L"J:\\\u64ad\u653e\\\u6587\u4ef6.wmv", L"K:\\dup", L"k:\\DUP",
    };
    const std::vector<std::wstring> queries = {
        L"C:\\Films\\a.avi", L"c:\\films\\A.AVI", L"C:\\Films\\a.avi ", L"C:\\Films\\a.av", L"C:/Films/a.avi",
        L"d:\\\u00e4RGER\\\u00fcBER.MKV", L"e:\\\u0436\u0423\u041a.MP4", L"f:\\\u03c3\u03bf\u03c6\u03b9\u03b1.FLV",
        L"g:\\X", L"G:\\y", L"h:\\\uff41.AVI", L"H:\\A.avi", L"I:\\STRASSE.avi", L"i:\\STRA\u00dfE.AVI",
        L"j:\\\u64ad\u653e\\\u6587\u4ef6.WMV", L"K:\\DUP", L"", L"Z:\\nothing",
    };
    playlist::PathIndex index;
    for (const std::wstring& k : known)
        index.Add(k);
    EXPECT_EQ(index.Size(), known.size());
    int found = 0;
    for (const std::wstring& q : queries) {
        bool linear = false;
        for (const std::wstring& k : known)
            linear = linear || playlist::SamePath(q.c_str(), q.size(), k);
        EXPECT_EQ(index.Contains(q.c_str()), linear) << testing::PrintToString(q);
        found += linear ? 1 : 0;
    }
    EXPECT_GE(found, 9);   // the table must hold real matches, not only misses

    EXPECT_FALSE(index.Contains(nullptr));
    index.Clear();
    EXPECT_EQ(index.Size(), 0u);
    EXPECT_FALSE(index.Contains(L"C:\\Films\\a.avi"));
    index.Add(L"");   // no key for the empty path: still found, and only it
    EXPECT_TRUE(index.Contains(L""));
    EXPECT_FALSE(index.Contains(L"C:\\Films\\a.avi"));
}

std::vector<std::wstring> FilterStrings(const wchar_t* filter) {
    std::vector<std::wstring> out;
    for (const wchar_t* p = filter; *p; p += out.back().size() + 1)
        out.emplace_back(p);
    return out;
}

TEST(AddFilesDialog, RequestAsksForManyVideoFiles) {
    wchar_t names[4] = L"a";
    const HWND owner = reinterpret_cast<HWND>(0x1234);
    const OPENFILENAMEW request = playlist::AddFilesRequest(owner, names, 52000);
    EXPECT_EQ(request.lStructSize, sizeof(OPENFILENAMEW));   // the 64-bit size, which the dialog accepts
    EXPECT_EQ(request.hwndOwner, owner);
    EXPECT_EQ(request.Flags, 0x00081A04u);
    EXPECT_EQ(request.lpstrFile, names);
    EXPECT_EQ(request.nMaxFile, 52000u);
    EXPECT_EQ(std::wstring(names), L"a");   // the buffer is left as it was
    const std::vector<std::wstring> expected = {
        L"\u6240\u6709\u89c6\u9891\u6587\u4ef6", L"*.avi;*.rmvb;*.rm;*.wmv;*.mkv;*.mp4;*.3gp;*.RAM;*.ASF;*.flv",
        L"\u6240\u6709\u6587\u4ef6", L"*.*"};
    EXPECT_EQ(FilterStrings(request.lpstrFilter), expected);
}

} // namespace
