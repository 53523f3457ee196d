// Command-line paths, drops of files and folders, and forwarded paths: what is listed,
// in what order, and what plays.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>
#include "duilib/UIPath.h"
#include <vector>

#include "app/frame_harness.h"
#include "playback/OpenedPaths.h"
#include "video/VideoRealWnd.h"

using namespace std::string_literals;
using namespace DuiLib;
using apptest::Engine;
using Paths = std::vector<std::wstring>;

namespace {

// A folder of small files under the build folder, made afresh.
std::wstring MakeFolder(const wchar_t* name, const Paths& files) {
    const std::wstring folder = DuiLib::GetModuleFolder() + L"\\" + name;
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const std::wstring& file : files) {
        if (file.back() == L'\\') {
            CreateDirectoryW((folder + L"\\" + file).c_str(), nullptr);
            continue;
        }
        HANDLE h = CreateFileW((folder + L"\\" + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(h, "x", 1, &written, nullptr);
        CloseHandle(h);
    }
    return folder;
}

// An HDROP as Explorer hands one over: DROPFILES, then wide paths, then one more NUL.
HDROP MakeDrop(const Paths& paths) {
    const std::wstring block = playlist::PackPaths(paths) + L'\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + block.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    memcpy(reinterpret_cast<BYTE*>(drop) + sizeof(DROPFILES), block.data(), block.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
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

class OpenWithTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = MakeFolder(L"films", {L"one.mp4", L"two.mkv", L"three.avi", L"readme.txt"});
        frame = apptest::OpenMainFrame();
        ASSERT_NE(frame, nullptr);
        g_pMainFrame = frame;  // the video window reaches the playlist through it
        Engine(frame).Clear();
    }
    void TearDown() override {
        g_pMainFrame = nullptr;
        apptest::DestroyMainFrame(frame);
    }

    Paths Rows() const {
        Paths names;
        for (int i = 0; i < frame->m_pPlayList->GetCount(); ++i)
            names.push_back(frame->m_pPlayList->GetItemAt(i)->GetName().str());
        return names;
    }
    std::vector<std::string> Opens() const {
        std::vector<std::string> opens;
        for (const auto& call : Engine(frame).calls)
            if (call.name == "open") opens.push_back(call.path);
        return opens;
    }
    std::string Narrow(const std::wstring& path) const { return std::string(path.begin(), path.end()); }
    std::wstring File(const wchar_t* name) const { return folder + L"\\" + name; }

    std::wstring folder;
    CMainFrame* frame = nullptr;
};

TEST_F(OpenWithTest, CommandLinePathsAreListedOnceAndTheFirstPlays) {
    frame->AddDialogResult((File(L"two.mkv") + L'\0').c_str(), File(L"two.mkv").size() + 1, folder.size() + 1);
    std::wstring upper = File(L"TWO.MKV");
    frame->OpenPaths({File(L"one.mp4"), upper, File(L"one.mp4"), File(L"gone.mp4")});
    EXPECT_EQ(Rows(), (Paths{File(L"two.mkv"), File(L"one.mp4")}));
    EXPECT_EQ(Opens(), (std::vector<std::string>{Narrow(File(L"one.mp4"))}));
    EXPECT_EQ(frame->m_pPlayList->GetCurSel(), 1);
    EXPECT_EQ(Engine(frame).script.status, 1);
}

TEST_F(OpenWithTest, AFolderDroppedOnEitherWindowListsItsVideosAndPlaysWhenIdle) {
    SendMessageW(frame->GetHWND(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({folder})), 0);
    EXPECT_EQ(Rows(), (Paths{File(L"one.mp4"), File(L"three.avi"), File(L"two.mkv")}));
    EXPECT_EQ(Opens(), (std::vector<std::string>{Narrow(File(L"one.mp4"))}));

    // While something plays, a drop on the picture only adds.
    const std::wstring more = MakeFolder(L"more", {L"four.mp4"});
    SendMessageW(frame->m_pVideoWnd->GetHWND(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({more + L"\\four.mp4", File(L"two.mkv")})), 0);
    EXPECT_EQ(Rows().size(), 4u);
    EXPECT_EQ(Rows().back(), more + L"\\four.mp4");
    EXPECT_EQ(Opens().size(), 1u);

    // Stopped, the first file of the drop plays, listed before or not.
    Engine(frame).script.status = 4;
    SendMessageW(frame->m_pVideoWnd->GetHWND(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({File(L"two.mkv")})), 0);
    EXPECT_EQ(Rows().size(), 4u);
    EXPECT_EQ(Opens().back(), Narrow(File(L"two.mkv")));
    EXPECT_EQ(frame->m_pPlayList->GetCurSel(), 2);
}

TEST_F(OpenWithTest, ASubtitleBesideLoadsAtOpenAndADroppedOneLoadsForThePlayingFile) {
    MakeFolder(L"films", {L"one.ass", L"one.srt", L"two.zh.ass"});
    auto subtitleLoads = [&] {
        std::vector<std::string> loads;
        for (const auto& call : Engine(frame).calls)
            if (call.name == "set_subtitles") loads.push_back(call.path);
        return loads;
    };
    frame->OpenPaths({File(L"one.mp4")});
    EXPECT_EQ(subtitleLoads(), (std::vector<std::string>{Narrow(File(L"one.srt"))}));

    // Dropped on the picture while a file plays: loaded, never listed, nothing else opens.
    Engine(frame).Clear();
    SendMessageW(frame->m_pVideoWnd->GetHWND(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({File(L"two.zh.ass"), File(L"three.avi")})), 0);
    EXPECT_EQ(subtitleLoads(), (std::vector<std::string>{Narrow(File(L"two.zh.ass"))}));
    EXPECT_EQ(Rows(), (Paths{File(L"one.mp4"), File(L"three.avi")}));
    EXPECT_TRUE(Opens().empty());

    // A refusal is told in the title; with nothing open a subtitle drop does nothing.
    Engine(frame).script.subtitlesResult = -2;
    SendMessageW(frame->m_pVideoWnd->GetHWND(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({File(L"one.ass")})), 0);
    EXPECT_EQ(apptest::Find(frame, L"txt_playstatus")->GetText(), CDuiString(L"字幕文件超过 20 MB，未加载"));
    Engine(frame).Clear();
    Engine(frame).script.status = 0;
    SendMessageW(frame->m_pVideoWnd->GetHWND(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({File(L"one.ass")})), 0);
    EXPECT_TRUE(subtitleLoads().empty());
    EXPECT_EQ(Rows().size(), 2u);
}

TEST_F(OpenWithTest, ForwardedPathsAreOpenedAfterTheSenderIsAnswered) {
    const std::wstring block = playlist::PackPaths({File(L"three.avi"), File(L"one.mp4")});
    COPYDATASTRUCT data{playlist::kForwardedPathsTag, static_cast<DWORD>(block.size() * 2),
                        const_cast<wchar_t*>(block.data())};
    EXPECT_EQ(SendMessageW(frame->GetHWND(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), TRUE);
    EXPECT_TRUE(Opens().empty());  // not while the sender waits
    EXPECT_TRUE(apptest::PumpUntil([&] { return !Opens().empty(); }, 3000));
    EXPECT_EQ(Rows(), (Paths{File(L"three.avi"), File(L"one.mp4")}));
    EXPECT_EQ(Opens(), (std::vector<std::string>{Narrow(File(L"three.avi"))}));

    // Another program's copy-data, or a block cut short, is refused and adds nothing.
    COPYDATASTRUCT foreign{0x1234, data.cbData, data.lpData};
    COPYDATASTRUCT cut{playlist::kForwardedPathsTag, data.cbData - 2, data.lpData};
    for (COPYDATASTRUCT* d : {&foreign, &cut})
        EXPECT_EQ(SendMessageW(frame->GetHWND(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(d)), FALSE);
    apptest::Pump(200);
    EXPECT_EQ(Rows().size(), 2u);
}

} // namespace
