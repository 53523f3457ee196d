// Command-line paths, drops of files and folders, and forwarded paths: what is listed,
// in what order, and what plays.
#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <mutex>
#include <set>
#include <thread>

#include "duilib/UIPath.h"

#include "app/frame_harness.h"
#include "playback/OpenedPaths.h"
#include "playback/PathListings.h"
#include "video/VideoRealWnd.h"

using namespace std::string_literals;
using namespace DuiLib;
using Paths = std::vector<std::wstring>;

namespace {

// A folder of small files under the build folder, made afresh ("sub\\" makes a folder), nested until
// its path is at least minLength long; made in the extended form, which reaches beyond MAX_PATH.
std::wstring MakeFolder(const wchar_t* name, const Paths& files, size_t minLength = 0) {
    std::wstring folder = DuiLib::GetModuleFolder() + L"\\" + name;
    CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr);
    while (folder.size() < minLength) {
        folder += L"\\" + std::wstring(60, L'd');
        CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr);
    }
    for (const std::wstring& file : files) {
        const std::wstring extended = L"\\\\?\\" + folder + L"\\" + file;
        if (file.back() == L'\\') {
            CreateDirectoryW(extended.c_str(), nullptr);
            continue;
        }
        HANDLE h = CreateFileW(extended.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(h, "x", 1, &written, nullptr);
        CloseHandle(h);
    }
    return folder;
}

std::string Header(DWORD namesAt, BOOL wide) {
    DROPFILES header{};
    header.pFiles = namesAt;
    header.fWide = wide;
    return std::string(reinterpret_cast<const char*>(&header), sizeof(header));
}
std::string WideList(const Paths& names) {
    const std::wstring list = playlist::PackPaths(names) + L'\0';
    return std::string(reinterpret_cast<const char*>(list.data()), list.size() * 2);
}

// A drop as Explorer hands one over: DROPFILES, then wide paths, then one more NUL.
std::string WholeDrop(const Paths& paths) { return Header(sizeof(DROPFILES), TRUE) + WideList(paths); }

// A global block holding bytes, the rest of it (up to its real size) filled with 'x',
// so that nothing past the given bytes ends a name.
HGLOBAL Block(const std::string& bytes) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    auto* p = static_cast<char*>(GlobalLock(memory));
    memset(p, 'x', GlobalSize(memory));
    memcpy(p, bytes.data(), bytes.size());
    GlobalUnlock(memory);
    return memory;
}

TEST(OpenedPaths, CommandLinesNameAbsolutePathsAfterTheProgram) {
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    const std::wstring here = std::wstring(current) + (current[wcslen(current) - 1] == L'\\' ? L"" : L"\\");
    struct Case {
        const wchar_t* commandLine;
        Paths paths;
    } cases[] = {
        {L"Morvane.exe", {}},
        {L"\"C:\\Program Files\\Morvane.exe\" \"D:\\my films\\a b.mp4\" D:\\c.mkv",
         {L"D:\\my films\\a b.mp4", L"D:\\c.mkv"}},
        {L"Morvane.exe clip.mp4", {here + L"clip.mp4"}},
        {L"Morvane.exe \"\" D:\\x.avi", {L"D:\\x.avi"}},
        {L"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.commandLine, c.commandLine + wcslen(c.commandLine)));
        EXPECT_EQ(playlist::PathsFromCommandLine(c.commandLine), c.paths);
    }
}

TEST(OpenedPaths, AForwardedBlockIsTrustedOnlyWhenWhole) {
    const Paths paths = {L"C:\\a.mp4", L"D:\\视频\\b.mkv"};
    const std::wstring block = playlist::PackPaths(paths);
    EXPECT_EQ(playlist::UnpackPaths(block.data(), block.size() * sizeof(wchar_t)), paths);
    const std::wstring doubled = L"C:\\a.mp4\0\0D:\\b.mkv\0"s;
    EXPECT_EQ(playlist::UnpackPaths(doubled.data(), doubled.size() * 2), (Paths{L"C:\\a.mp4", L"D:\\b.mkv"}));
    // Cut short, odd-sized, empty, absent or over the cap: nothing.
    EXPECT_TRUE(playlist::UnpackPaths(block.data(), block.size() * 2 - 2).empty());
    EXPECT_TRUE(playlist::UnpackPaths(block.data(), block.size() * 2 - 1).empty());
    EXPECT_TRUE(playlist::UnpackPaths(block.data(), 0).empty());
    EXPECT_TRUE(playlist::UnpackPaths(nullptr, 16).empty());
    EXPECT_TRUE(playlist::UnpackPaths(block.data(), playlist::kMaxForwardedBytes + 2).empty());
    // At most 10,000 paths in one batch.
    for (size_t count : {playlist::kMaxForwardedPaths, playlist::kMaxForwardedPaths + 1}) {
        const std::wstring many = playlist::PackPaths(Paths(count, L"C:\\a.mp4"));
        EXPECT_EQ(playlist::UnpackPaths(many.data(), many.size() * 2).size(),
                  count <= playlist::kMaxForwardedPaths ? count : 0u);
    }
}

TEST(OpenedPaths, OnlyExplorersDropsPassTheElevationFilter) {
    const std::set<UINT> passed(std::begin(playlist::kMessagesFromLowerPrograms),
                                std::end(playlist::kMessagesFromLowerPrograms));
    EXPECT_EQ(passed, (std::set<UINT>{WM_DROPFILES, 0x0049}));
}

TEST(OpenedPaths, AFolderGivesItsVideoFilesByName) {
    const std::wstring folder =
        MakeFolder(L"expand", {L"b.MP4", L"a.mkv", L"notes.txt", L"D.flv", L"sub.avi\\", L"c.Rmvb", L"e.mp4.part"});
    const std::wstring file = MakeFolder(L"single", {L"only.txt"}) + L"\\only.txt";
    const Paths files = playlist::ExpandToFiles({folder, file, folder + L"\\missing.mp4"});
    // A file named by itself is taken whatever its type; the missing one is not.
    EXPECT_EQ(files, (Paths{folder + L"\\a.mkv", folder + L"\\b.MP4", folder + L"\\c.Rmvb", folder + L"\\D.flv",
                            file}));
    EXPECT_EQ(playlist::DisplayName(folder + L"\\b.MP4"), L"b.MP4");
}

// The file system as a share that went away: a call about a path under "dead" waits
// until the test lets it go, or 30 s.
const HANDLE g_release = CreateEventW(nullptr, TRUE, FALSE, nullptr);

void HangOnDeadShare(const std::wstring& path) {
    if (path.find(L"\\dead") != std::wstring::npos)
        WaitForSingleObject(g_release, 30000);
}

// The video window reaches the playlist through g_pMainFrame.
class OpenWithTest : public apptest::MainWindowFixture {
protected:
    OpenWithTest() : MainWindowFixture({.global = true}) {
        folder = MakeFolder(L"films", {L"one.mp4", L"two.mkv", L"three.avi", L"readme.txt"});
    }
    void TearDown() override {
        playlist::SetFileSystemHook(nullptr);
        SetEvent(g_release);
        MainWindowFixture::TearDown();
    }

    Paths Rows() const { return apptest::RowNames(frame); }
    std::vector<std::string> Opens() const { return engine().PathsOf("open"); }
    std::vector<std::string> Only(const wchar_t* name) const { return {Narrow(File(name))}; }
    std::string Narrow(const std::wstring& path) const { return std::string(path.begin(), path.end()); }
    std::wstring File(const wchar_t* name) const { return folder + L"\\" + name; }
    BOOL Send(const COPYDATASTRUCT& data) const {
        return static_cast<BOOL>(SendMessageW(frame->GetHWND(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)));
    }
    // The copy-data of a packed block of forwarded paths, which must outlive it.
    static COPYDATASTRUCT Forwarded(const std::wstring& block) {
        return {playlist::kForwardedPathsTag, static_cast<DWORD>(block.size() * 2), const_cast<wchar_t*>(block.data())};
    }
    BOOL Forward(const Paths& paths) const { return Send(Forwarded(playlist::PackPaths(paths))); }
    // On the main window, unless another is named.
    void Drop(const Paths& paths, HWND on = nullptr) const {
        SendMessageW(on ? on : frame->GetHWND(), WM_DROPFILES, reinterpret_cast<WPARAM>(Block(WholeDrop(paths))), 0);
    }

    std::wstring folder;
};

TEST_F(OpenWithTest, CommandLinePathsAreListedOnceAndTheFirstPlays) {
    frame->AddDialogResult((File(L"two.mkv") + L'\0').c_str(), File(L"two.mkv").size() + 1, folder.size() + 1);
    std::wstring upper = File(L"TWO.MKV");
    frame->OpenPaths({File(L"one.mp4"), upper, File(L"one.mp4"), File(L"gone.mp4")});
    EXPECT_TRUE(testsupport::PumpUntil([&] { return !Opens().empty(); }, 5000));
    EXPECT_EQ(Rows(), (Paths{File(L"two.mkv"), File(L"one.mp4")}));
    EXPECT_EQ(Opens(), Only(L"one.mp4"));
    EXPECT_EQ(frame->m_pPlayList->GetCurSel(), 1);
    EXPECT_EQ(engine().script.status, 1);
}

TEST_F(OpenWithTest, AFolderDroppedOnEitherWindowListsItsVideosAndPlaysWhenIdle) {
    Drop({folder});
    EXPECT_TRUE(testsupport::PumpUntil([&] { return !Opens().empty(); }, 5000));
    EXPECT_EQ(Rows(), (Paths{File(L"one.mp4"), File(L"three.avi"), File(L"two.mkv")}));
    EXPECT_EQ(Opens(), Only(L"one.mp4"));

    // While something plays, a drop on the picture only adds.
    const std::wstring more = MakeFolder(L"more", {L"four.mp4"});
    Drop({more + L"\\four.mp4", File(L"two.mkv")}, frame->m_pVideoWnd->GetHWND());
    EXPECT_TRUE(testsupport::PumpUntil([&] { return Rows().size() == 4u; }, 5000));
    EXPECT_EQ(Rows().back(), more + L"\\four.mp4");
    EXPECT_EQ(Opens().size(), 1u);

    // Stopped, the first file of the drop plays, listed before or not.
    engine().script.status = 4;
    Drop({File(L"two.mkv")}, frame->m_pVideoWnd->GetHWND());
    EXPECT_TRUE(testsupport::PumpUntil([&] { return Opens().size() == 2u; }, 5000));
    EXPECT_EQ(Rows().size(), 4u);
    EXPECT_EQ(Opens().back(), Narrow(File(L"two.mkv")));
    EXPECT_EQ(frame->m_pPlayList->GetCurSel(), 2);
}

TEST_F(OpenWithTest, ASubtitleBesideLoadsAtOpenAndADroppedOneLoadsForThePlayingFile) {
    MakeFolder(L"films", {L"one.ass", L"one.srt", L"two.zh.ass"});
    auto subtitleLoads = [&] { return engine().PathsOf("set_subtitles"); };
    frame->OpenPaths({File(L"one.mp4")});
    EXPECT_TRUE(testsupport::PumpUntil([&] { return !subtitleLoads().empty(); }, 5000));
    EXPECT_EQ(subtitleLoads(), Only(L"one.srt"));

    // Dropped on the picture while a file plays: loaded, never listed, nothing else opens.
    engine().Clear();
    Drop({File(L"two.zh.ass"), File(L"three.avi")}, frame->m_pVideoWnd->GetHWND());
    EXPECT_EQ(subtitleLoads(), Only(L"two.zh.ass"));
    EXPECT_TRUE(testsupport::PumpUntil([&] { return Rows().size() == 2u; }, 5000));
    EXPECT_EQ(Rows(), (Paths{File(L"one.mp4"), File(L"three.avi")}));
    EXPECT_TRUE(Opens().empty());

    // A refusal is told in the title; with nothing open a subtitle drop does nothing.
    engine().script.subtitlesResult = -2;
    Drop({File(L"one.ass")}, frame->m_pVideoWnd->GetHWND());
    EXPECT_EQ(apptest::Find(frame, L"txt_playstatus")->GetText(), CDuiString(L"字幕文件超过 20 MB，未加载"));
    engine().Clear();
    engine().script.status = 0;
    Drop({File(L"one.ass")}, frame->m_pVideoWnd->GetHWND());
    EXPECT_TRUE(subtitleLoads().empty());
    EXPECT_EQ(Rows().size(), 2u);
}

TEST_F(OpenWithTest, ForwardedPathsAreOpenedAfterTheSenderIsAnswered) {
    const std::wstring block = playlist::PackPaths({File(L"three.avi"), File(L"one.mp4")});
    const COPYDATASTRUCT data = Forwarded(block);
    EXPECT_EQ(Send(data), TRUE);
    EXPECT_TRUE(Opens().empty());  // not while the sender waits
    // One batch waits at a time: a sender cannot queue paths without bound.
    EXPECT_EQ(Send(data), FALSE);
    EXPECT_TRUE(testsupport::PumpUntil([&] { return !Opens().empty(); }, 3000));
    EXPECT_EQ(Rows(), (Paths{File(L"three.avi"), File(L"one.mp4")}));
    EXPECT_EQ(Opens(), Only(L"three.avi"));

    // Another program's copy-data, or a block cut short, is refused and adds nothing.
    const COPYDATASTRUCT foreign{0x1234, data.cbData, data.lpData};
    const COPYDATASTRUCT cut{playlist::kForwardedPathsTag, data.cbData - 2, data.lpData};
    for (const COPYDATASTRUCT& refused : {foreign, cut})
        EXPECT_EQ(Send(refused), FALSE);
    testsupport::PumpIdle();
    EXPECT_EQ(Rows().size(), 2u);
}

TEST_F(OpenWithTest, ADropIsReadAndFreedOnlyWhenItsWholeListLiesInsideItsBlock) {
    // Refused drops name three.avi, which must never be listed.
    const Paths refused = {File(L"three.avi")};
    const std::string three = Narrow(refused[0]), two = Narrow(File(L"two.mkv"));
    const DWORD after = sizeof(DROPFILES);
    const struct Case {
        const char* name;
        std::string bytes;
        bool whole;
    } cases[] = {
        {"shorter than its header", Header(after, TRUE).substr(0, 8), false},
        {"names past its end", Header(4096, TRUE) + WideList(refused), false},
        {"names inside its header", Header(4, TRUE) + WideList(refused), false},
        {"wide names without the empty one", Header(after, TRUE) + WideList(refused).substr(0, (three.size() + 1) * 2),
         false},
        {"ANSI names without the empty one", Header(after, FALSE) + three + '\0', false},
        {"wide names, whole", WholeDrop({File(L"one.mp4")}), true},
        {"ANSI names, whole", Header(after, FALSE) + two + '\0' + '\0', true},
    };
    // Not a global block at all: a drop's bytes on the stack.
    std::string onStack = WholeDrop(refused);
    SendMessageW(frame->GetHWND(), WM_DROPFILES, reinterpret_cast<WPARAM>(onStack.data()), 0);
    size_t rows = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HGLOBAL block = Block(c.bytes);
        const SIZE_T size = GlobalSize(block);
        SendMessageW(frame->GetHWND(), WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
        if (c.whole) {
            EXPECT_TRUE(testsupport::PumpUntil([&] { return Rows().size() == rows + 1; }, 5000));
            ++rows;
            continue;
        }
        ASSERT_EQ(GlobalSize(block), size) << "a drop that is not whole was freed";
        GlobalFree(block);
    }
    EXPECT_EQ(Rows(), (Paths{File(L"one.mp4"), File(L"two.mkv")}));
}

// The paths the file-system calls were given.
std::mutex g_callsLock;
Paths g_calls;

void RecordCall(const std::wstring& path) {
    std::lock_guard<std::mutex> hold(g_callsLock);
    g_calls.push_back(path);
}

TEST_F(OpenWithTest, PathsBeyondMaxPathAreListedFromEverySourceAsGiven) {
    const std::wstring deep = MakeFolder(L"deep", {L"a.mp4", L"b.mkv", L"inner\\", L"inner\\c.avi"}, MAX_PATH + 10);
    g_calls.clear();
    playlist::SetFileSystemHook(RecordCall);
    frame->OpenPaths({deep + L"\\a.mp4"});
    EXPECT_EQ(Forward({deep + L"\\b.mkv"}), TRUE);
    Drop({deep + L"\\inner"});
    EXPECT_TRUE(testsupport::PumpUntil([&] { return Rows().size() == 3; }, 5000));
    const Paths rows = Rows();
    EXPECT_EQ(std::set<std::wstring>(rows.begin(), rows.end()),
              (std::set<std::wstring>{deep + L"\\a.mp4", deep + L"\\b.mkv", deep + L"\\inner\\c.avi"}));
    // Windows reaches these only through the extended form (Wine reaches them either way).
    std::lock_guard<std::mutex> hold(g_callsLock);
    EXPECT_GE(g_calls.size(), 4u);
    for (const std::wstring& call : g_calls)
        EXPECT_EQ(call.compare(0, 4, L"\\\\?\\"), 0) << Narrow(call);
}

TEST_F(OpenWithTest, TheWindowAnswersWhileTheFileSystemHangs) {
    const std::wstring dead = MakeFolder(L"dead", {L"late.mp4"});
    ResetEvent(g_release);
    playlist::SetFileSystemHook(HangOnDeadShare);
    const HWND hwnd = frame->GetHWND();
    std::atomic<bool> stop{false}, proberDone{false};
    std::atomic<int> probes{0}, unanswered{0};
    std::atomic<ULONGLONG> slowest{0};
    // Each probe waits for its answer (the deadline only bounds a window that never
    // answers); what counts is that every answer came while the share still hung.
    std::thread prober([&] {
        while (!stop) {
            const ULONGLONG start = GetTickCount64();
            DWORD_PTR answer = 0;
            if (!SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer))
                ++unanswered;
            slowest = std::max<ULONGLONG>(slowest, GetTickCount64() - start);
            ++probes;
            Sleep(10);
        }
        proberDone = true;
    });
    // All three sources wait on the dead share, but for a drop of a live folder.
    frame->OpenPaths({dead});
    EXPECT_EQ(Forward({dead + L"\\late.mp4"}), TRUE);
    Drop({folder});
    EXPECT_TRUE(testsupport::PumpUntil([&] { return Opens().size() == 1 && probes >= 50; }, 20000));
    // A probe sent as the wait ended is answered only while this thread pumps: pump until the prober is done.
    stop = true;
    testsupport::PumpUntil([&] { return proberDone.load(); }, 15000);
    prober.join();
    RecordProperty("probes", probes.load());
    RecordProperty("slowest_answer_ms", static_cast<int>(slowest.load()));
    EXPECT_EQ(unanswered, 0) << "the window did not answer WM_NULL while the share hung";
    EXPECT_GT(playlist::ListingsRunning(), 0) << "the share let go before the probes ended";
    EXPECT_EQ(Rows(), (Paths{File(L"one.mp4"), File(L"three.avi"), File(L"two.mkv")}));

    // The window goes while two listings still wait: their results are dropped.
    g_pMainFrame = nullptr;
    apptest::DestroyMainFrame(frame);
    frame = nullptr;
    SetEvent(g_release);
    EXPECT_TRUE(testsupport::PumpUntil([] { return playlist::ListingsRunning() == 0; }, 10000));
}

} // namespace
