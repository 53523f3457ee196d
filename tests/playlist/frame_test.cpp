// The playlist in a real main window: rows made from dialog results, the duplicate
// test, deleting and clearing, with the recording engine watching for commands.
#include <cwctype>
#include <utility>

#include <cderr.h>

#include "app/frame_harness.h"
#include "playback/AddFilesDialog.h"
#include "playback/ListCallback.h"
#include "support/screenshot.h"

using namespace std::string_literals;
using namespace DuiLib;

namespace {

// A dialog result and its file-name offset.
struct Result {
    std::wstring buffer;
    size_t offset;
};

class PlaylistTest : public apptest::MainWindowFixture {
protected:
    PlaylistTest() : MainWindowFixture({}) {}
    void SetUpWindow() override {
        list = frame->m_pPlayList;
        ASSERT_NE(list, nullptr);
    }

    void Add(const Result& r) { frame->AddDialogResult(r.buffer.data(), r.buffer.size(), r.offset); }

    CListUI* list = nullptr;
};

TEST_F(PlaylistTest, RowsFollowTheDialogWithNameUserDataAndTag) {
    const std::wstring longFolder = L"E:\\" + std::wstring(290, L'f');
    Add({L"D:\\films\0b.mkv\0a.avi\0\0"s, 9});
    Add({L"C:\\a.avi\0"s, 3});
    Add({longFolder + L"\0long.mp4\0\0"s, longFolder.size() + 1});

    const std::vector<std::pair<std::wstring, std::wstring>> expected = {
        {L"D:\\films\\b.mkv", L"b.mkv"},
        {L"D:\\films\\a.avi", L"a.avi"},
        {L"C:\\a.avi", L"a.avi"},
        {longFolder + L"\\long.mp4", L"long.mp4"},
    };
    ASSERT_EQ(list->GetCount(), static_cast<int>(expected.size()));
    IListCallbackUI* callback = list->GetTextCallback();
    ASSERT_NE(callback, nullptr);
    for (int i = 0; i < list->GetCount(); ++i) {
        CControlUI* row = list->GetItemAt(i);
        EXPECT_NE(row->GetInterface(L"ListTextElement"), nullptr) << i;
        EXPECT_EQ(row->GetName().str(), expected[i].first) << i;
        EXPECT_EQ(row->GetUserData().str(), expected[i].second + L"{#0}") << i;
        EXPECT_EQ(row->GetTag(), 1u) << i;
        // What the list paints in its one column.
        EXPECT_EQ(std::wstring(callback->GetItemText(row, i, 0)), expected[i].second) << i;
    }

    // The rows show their names: white text in each row, none below the last one.
    testsupport::PumpIdle();
    testsupport::Shot shot;
    ASSERT_TRUE(testsupport::CaptureWindow(frame->GetHWND(), shot));
    testsupport::SaveWindowPng(frame->GetHWND(), testsupport::ScreenshotPath(L"playlist_rows.png").c_str());
    for (int i = 0; i < list->GetCount(); ++i)
        EXPECT_GT(shot.CountBright(list->GetItemAt(i)->GetPos()), 20) << i;
    RECT below = list->GetItemAt(list->GetCount() - 1)->GetPos();
    OffsetRect(&below, 0, below.bottom - below.top);
    EXPECT_EQ(shot.CountBright(below), 0);
}

struct DuplicateCase {
    const char* what;
    std::vector<Result> results;
    std::vector<std::wstring> rows;
};

TEST_F(PlaylistTest, AddsOnlyPathsNotListedYet) {
    const Result ab{L"C:\\v\0a.avi\0b.avi\0\0"s, 5};
    const std::vector<DuplicateCase> cases = {
        {"other letter case", {ab, {L"c:\\V\0A.AVI\0c.avi\0\0"s, 5}},
         {L"C:\\v\\a.avi", L"C:\\v\\b.avi", L"c:\\V\\c.avi"}},
        {"the same files twice", {ab, ab}, {L"C:\\v\\a.avi", L"C:\\v\\b.avi"}},
        {"one file, then again among several", {{L"C:\\v\\b.avi\0"s, 5}, ab}, {L"C:\\v\\b.avi", L"C:\\v\\a.avi"}},
        {"a name twice in one result: the known paths are the rows before it",
         {{L"C:\\v\0a.avi\0a.avi\0\0"s, 5}}, {L"C:\\v\\a.avi", L"C:\\v\\a.avi"}},
        {"a result that names no file", {ab, {L"C:\\v\0\0"s, 5}, {L"C:\\v\0a.avi\0\0"s, 0}},
         {L"C:\\v\\a.avi", L"C:\\v\\b.avi"}},
    };
    for (const DuplicateCase& c : cases) {
        frame->ClearList();
        for (const Result& r : c.results)
            Add(r);
        EXPECT_EQ(apptest::RowNames(frame), c.rows) << c.what;
    }
}

TEST_F(PlaylistTest, KnownPathsAreTheRowsBeforeTheLastAdd) {
    Add({L"C:\\v\0a.avi\0b.avi\0\0"s, 5});
    Add({L"C:\\v\0c.avi\0\0"s, 5});
    const std::vector<std::wstring> before = {L"C:\\v\\a.avi", L"C:\\v\\b.avi"};
    EXPECT_EQ(frame->m_vecPaths, before);
    EXPECT_TRUE(frame->IsPathInList(L"c:\\V\\B.AVI"));
    EXPECT_FALSE(frame->IsPathInList(L"C:\\v\\c.avi"));   // added after the index was made
    EXPECT_FALSE(frame->IsPathInList(nullptr));

    // Removing rows leaves the known paths alone; the next add refills them.
    list->SelectItem(0);
    frame->DeleteSelected();
    frame->ClearList();
    EXPECT_EQ(frame->m_vecPaths, before);
    frame->RebuildPathIndex();
    EXPECT_TRUE(frame->m_vecPaths.empty());
    EXPECT_FALSE(frame->IsPathInList(L"C:\\v\\a.avi"));
}

TEST_F(PlaylistTest, TenThousandFilesInOneResult) {
    constexpr int kFiles = 10000;
    std::wstring buffer = L"C:\\many\0"s;
    for (int i = 0; i < kFiles; ++i)
        buffer += L"clip" + std::to_wstring(i) + L".mp4" + L'\0';
    buffer += L'\0';
    Add({buffer, 8});
    ASSERT_EQ(list->GetCount(), kFiles);
    for (int i : {0, 4321, kFiles - 1})
        EXPECT_EQ(list->GetItemAt(i)->GetName().str(), L"C:\\many\\clip" + std::to_wstring(i) + L".mp4");

    // The same files in upper case are all known.
    std::wstring upper = buffer;
    for (wchar_t& ch : upper)
        ch = static_cast<wchar_t>(towupper(ch));
    Add({upper, 8});
    EXPECT_EQ(list->GetCount(), kFiles);
    testsupport::PumpIdle();   // the list lays out and paints its rows
    EXPECT_EQ(list->GetCount(), kFiles);
}

TEST_F(PlaylistTest, DeleteRemovesOnlyTheSelectedRow) {
    const struct {
        int selected;
        std::vector<std::wstring> rows;
    } cases[] = {
        {-1, {L"C:\\v\\a.avi", L"C:\\v\\b.avi", L"C:\\v\\c.avi"}},
        {0, {L"C:\\v\\b.avi", L"C:\\v\\c.avi"}},
        {1, {L"C:\\v\\a.avi", L"C:\\v\\c.avi"}},
        {2, {L"C:\\v\\a.avi", L"C:\\v\\b.avi"}},
    };
    for (const auto& c : cases) {
        frame->ClearList();
        Add({L"C:\\v\0a.avi\0b.avi\0c.avi\0\0"s, 5});
        list->SelectItem(c.selected);
        ASSERT_EQ(list->GetCurSel(), c.selected);
        frame->DeleteSelected();
        EXPECT_EQ(apptest::RowNames(frame), c.rows) << "selected " << c.selected;
    }
}

TEST_F(PlaylistTest, DeletingAndClearingThePlayingRowLeavePlaybackAlone) {
    Add({L"C:\\v\0a.avi\0b.avi\0c.avi\0\0"s, 5});
    engine().script.status = 1;   // playing b.avi
    frame->m_strCurPath = L"C:\\v\\b.avi";
    CControlUI* path = apptest::Find(frame, L"txt_playingpath");
    CControlUI* status = apptest::Find(frame, L"txt_playstatus");
    ASSERT_NE(path, nullptr);
    ASSERT_NE(status, nullptr);
    path->SetText(L"C:\\v\\b.avi");
    status->SetText(L"\u6b63\u5728\u64ad\u653e");
    list->SelectItem(1);
    engine().Clear();

    // Through the buttons, as a user would.
    apptest::ClickControl(frame, L"btndelete");
    EXPECT_EQ(apptest::RowNames(frame), (std::vector<std::wstring>{L"C:\\v\\a.avi", L"C:\\v\\c.avi"}));
    apptest::ClickControl(frame, L"btndelete");   // no selection left: nothing changes
    EXPECT_EQ(list->GetCount(), 2);
    apptest::ClickControl(frame, L"btnclear");
    EXPECT_EQ(list->GetCount(), 0);
    testsupport::PumpIdle();

    EXPECT_TRUE(engine().CommandTexts().empty()) << testing::PrintToString(engine().CommandTexts());
    EXPECT_EQ(engine().script.status, 1);
    EXPECT_EQ(frame->m_strCurPath.str(), L"C:\\v\\b.avi");
    EXPECT_EQ(path->GetText().str(), L"C:\\v\\b.avi");
    EXPECT_EQ(status->GetText().str(), L"\u6b63\u5728\u64ad\u653e");
}

TEST_F(PlaylistTest, WithoutTheListNothingIsAddedOrRemoved) {
    Add({L"C:\\v\0a.avi\0\0"s, 5});
    list->SelectItem(0);
    frame->m_pPlayList = nullptr;
    Add({L"C:\\v\0b.avi\0\0"s, 5});
    frame->AddListItem(L"C:\\v\\c.avi", L"c.avi");
    frame->DeleteSelected();
    frame->ClearList();
    EXPECT_TRUE(frame->m_vecPaths.empty());
    EXPECT_FALSE(frame->IsPathInList(L"C:\\v\\a.avi"));
    frame->m_pPlayList = list;
    EXPECT_EQ(apptest::RowNames(frame), std::vector<std::wstring>{L"C:\\v\\a.avi"});

    // A missing path adds no row either.
    frame->AddListItem(nullptr, L"x.avi");
    frame->AddListItem(L"", L"x.avi");
    EXPECT_EQ(list->GetCount(), 1);
}

// A dialog that answers as scripted: a result, a cancel, or a failure that leaves the
// size it needed in the name buffer's first unit, as the system does.
struct ScriptedDialog {
    static inline std::wstring result;   // the names written on success
    static inline DWORD error = 0;       // 0 with no result: a cancel
    static inline wchar_t firstUnitSeen = 0;
    static BOOL WINAPI Show(OPENFILENAMEW* request) {
        firstUnitSeen = request->lpstrFile[0];
        if (!result.empty() && !error) {
            std::copy(result.begin(), result.end(), request->lpstrFile);
            request->nFileOffset = static_cast<WORD>(result.find(L'\0') + 1);
            return TRUE;
        }
        if (error == FNERR_BUFFERTOOSMALL)
            request->lpstrFile[0] = static_cast<wchar_t>(60000);
        return FALSE;
    }
    static DWORD WINAPI LastError() { return error; }
};

TEST_F(PlaylistTest, AFailedDialogSaysWhyWhenTheSelectionIsTooLongAndLeavesNoStrayName) {
    playlist::OpenDialogCalls& calls = playlist::AddFilesDialogCalls();
    const playlist::OpenDialogCalls system = calls;
    calls = {ScriptedDialog::Show, ScriptedDialog::LastError};
    struct Case {
        const char* what;
        DWORD error;
        const wchar_t* notice;     // null: none
        wchar_t nextFirstUnit;     // what the next dialog finds first in the buffer
    };
    const Case cases[] = {
        {"too many files", FNERR_BUFFERTOOSMALL, L"选择的文件太多，请分几次添加", L'\0'},
        {"another failure", CDERR_INITIALIZATION, nullptr, L'\0'},
        {"a cancel keeps the last result", 0, nullptr, L'C'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        list->RemoveAll();
        // A first dialog that chose two files.
        ScriptedDialog::result = L"C:\\v\0a.avi\0b.avi\0\0"s;
        ScriptedDialog::error = 0;
        frame->AddFiles();
        ASSERT_EQ(list->GetCount(), 2);
        ScriptedDialog::result.clear();
        ScriptedDialog::error = c.error;
        {
            apptest::MessageBoxWatch watch;
            frame->AddFiles();
            testsupport::PumpIdle();
        }
        EXPECT_EQ(list->GetCount(), 2);
        EXPECT_EQ(apptest::MessageBoxWatch::count, c.notice ? 1 : 0);
        if (c.notice) {
            EXPECT_EQ(apptest::MessageBoxWatch::text, c.notice);
            EXPECT_EQ(apptest::MessageBoxWatch::caption, L"提示");
            EXPECT_EQ(apptest::MessageBoxWatch::owner, frame->GetHWND());
        }
        ScriptedDialog::error = 0;
        frame->AddFiles();
        EXPECT_EQ(ScriptedDialog::firstUnitSeen, c.nextFirstUnit);
    }
    calls = system;
}

} // namespace
