// Costs of the player itself in a real main window, one line per measurement:
// adding 10,000 files to the playlist (without the dialog), beside the plain linear
// duplicate scan over the same input; one 100 ms polling tick while a file plays, beside
// the engine reads it makes; a start to the first paint with the user's state of 500
// rows and 500 remembered positions, beside a start with none. Add a measurement as
// one more function in kBenches.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <cwctype>
#include <functional>
#include <string>
#include <vector>

#include "app/MainFrame.h"
#include "playback/PathIndex.h"
#include "state/StateFiles.h"
#include "support/paths.h"
#include "support/pump.h"

using DuiLib::CMainFrame;

namespace {

constexpr int kFiles = 10000;
constexpr wchar_t kFolder[] = L"D:\\Videos\\Holiday 2023";

double NowMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

struct Stats {
    double median, best;
    int runs;
};

// prepare runs untimed before each timed body.
Stats Measure(int runs, const std::function<void()>& prepare, const std::function<void()>& body) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        const double start = NowMs();
        body();
        times.push_back(NowMs() - start);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front(), runs};
}

void Report(const char* what, const Stats& s, const char* note = "") {
    std::printf("%-56s median %9.2f ms  (best %.2f, %d runs)%s\n", what, s.median, s.best, s.runs, note);
    std::fflush(stdout);
}

std::wstring FileName(int i) { return L"clip " + std::to_wstring(i) + L" - beach.mp4"; }

// A multi-selection dialog result: the folder, a NUL, the names, an empty name.
std::wstring DialogResult(bool upperCase) {
    std::wstring result = std::wstring(kFolder) + L'\0';
    for (int i = 0; i < kFiles; ++i)
        result += FileName(i) + L'\0';
    result += L'\0';
    if (upperCase)
        std::transform(result.begin(), result.end(), result.begin(), [](wchar_t c) { return static_cast<wchar_t>(towupper(c)); });
    return result;
}

std::vector<std::wstring> FullPaths(bool upperCase) {
    std::vector<std::wstring> paths;
    for (int i = 0; i < kFiles; ++i) {
        std::wstring path = std::wstring(kFolder) + L"\\" + FileName(i);
        if (upperCase)
            std::transform(path.begin(), path.end(), path.begin(), [](wchar_t c) { return static_cast<wchar_t>(towupper(c)); });
        paths.push_back(std::move(path));
    }
    return paths;
}

void AddResult(CMainFrame* frame, const std::wstring& result) {
    frame->AddDialogResult(result.data(), result.size(), wcslen(kFolder) + 1);
}

void Fill(CMainFrame* frame) {
    frame->ClearList();
    testsupport::PumpIdle();
    AddResult(frame, DialogResult(false));
}

bool Check(CMainFrame* frame, int rows, const char* after) {
    if (frame->m_pPlayList->GetCount() == rows)
        return true;
    std::printf("bench_player: %d rows after %s, expected %d\n", frame->m_pPlayList->GetCount(), after, rows);
    return false;
}

bool AddToEmptyList(CMainFrame* frame) {
    const std::wstring result = DialogResult(false);
    const Stats s = Measure(5, [&] { frame->ClearList(); testsupport::PumpIdle(); }, [&] { AddResult(frame, result); });
    Report("add 10,000 files to an empty playlist", s);
    return Check(frame, kFiles, "adding to an empty list");
}

bool AddAllAgain(CMainFrame* frame) {
    const std::wstring result = DialogResult(true);
    Fill(frame);
    const Stats s = Measure(5, [] {}, [&] { AddResult(frame, result); });
    Report("add the same 10,000 again (other case, all known)", s);
    return Check(frame, kFiles, "adding known files");
}

// The duplicate test of the second add alone: through the index, then as a plain walk.
bool DuplicateTestIndexed(CMainFrame*) {
    const std::vector<std::wstring> known = FullPaths(false);
    const std::vector<std::wstring> queries = FullPaths(true);
    int found = 0;
    const Stats s = Measure(5, [&] { found = 0; }, [&] {
        playlist::PathIndex index;
        for (const std::wstring& k : known)
            index.Add(k);
        for (const std::wstring& q : queries)
            found += index.Contains(q.c_str()) ? 1 : 0;
    });
    Report("  duplicate test, index: 10,000 in 10,000 (with build)", s);
    return found == kFiles;
}

bool DuplicateTestLinear(CMainFrame*) {
    // Every 50th query, each walking the known paths until its match; scaled to 10,000.
    constexpr int kStride = 50;
    const std::vector<std::wstring> known = FullPaths(false);
    const std::vector<std::wstring> queries = FullPaths(true);
    int found = 0;
    Stats s = Measure(3, [&] { found = 0; }, [&] {
        for (size_t q = 0; q < queries.size(); q += kStride) {
            for (const std::wstring& k : known) {
                if (playlist::SamePath(queries[q].c_str(), queries[q].size(), k)) {
                    ++found;
                    break;
                }
            }
        }
    });
    s.median *= kStride;
    s.best *= kStride;
    Report("  baseline, linear scan: 10,000 in 10,000", s, "  [1 query in 50 timed, x50]");
    return found == kFiles / kStride;
}

bool RepaintFullList(CMainFrame* frame) {
    Fill(frame);
    HWND hwnd = frame->GetHWND();
    const Stats s = Measure(5, [&] { frame->GetPaintManager().NeedUpdate(); },
                            [&] { RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); });
    Report("layout and repaint with 10,000 rows", s);
    return Check(frame, kFiles, "repainting");
}

// The generated sample clip, from MORVANE_MEDIA (a Unix folder, reached through Z:).
std::wstring SampleClip() {
    const std::wstring media = testsupport::WindowsPathFromEnv("MORVANE_MEDIA");
    return media.empty() ? media : media + L"\\clip.mp4";
}

bool WaitPlaying(CMainFrame* frame) {
    return testsupport::PumpUntil([&] { return frame->m_player.play_status() == 1; }, 10000);
}

// One tick of the polling timer as the window gets it, and the repaint of what it changed.
bool PollingTick(CMainFrame* frame) {
    const std::wstring clip = SampleClip();
    if (clip.empty() || GetFileAttributesW(clip.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("%-56s skipped: no sample clip (MORVANE_MEDIA)\n", "one polling tick while playing");
        return true;
    }
    frame->ClearList();
    testsupport::PumpIdle();
    frame->AddListItem(clip.c_str(), L"clip.mp4");
    frame->m_pPlayList->SelectItem(0);
    frame->PlaySelected();
    if (!WaitPlaying(frame)) {
        std::printf("bench_player: the sample clip does not play\n");
        return false;
    }
    frame->m_player.volume(0, 0);
    HWND hwnd = frame->GetHWND();
    // Ticks 10 ms apart so the clock text moves as it does in use; the clip lasts 5 s.
    const Stats tick = Measure(100, [&] { testsupport::PumpIdle(); Sleep(10); }, [&] {
        SendMessageW(hwnd, WM_TIMER, DuiLib::kTimerPoll, 0);
        UpdateWindow(hwnd);
    });
    Report("one polling tick while playing (with its repaint)", tick);
    double sink = 0;
    const Stats reads = Measure(100, [] {}, [&] {
        for (int i = 0; i < 5; ++i)
            sink += frame->m_player.play_status();
        sink += frame->m_player.curr_play_time() + frame->m_player.duration();
        sink += frame->m_player.curr_play_time() + frame->m_player.duration();
    });
    Report("  baseline, the engine reads of one tick alone", reads);
    frame->StopPlayback();
    return sink > 0;
}

// The bench's own folder: the state files it starts from.
std::wstring BenchFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.rfind(L'\\'));
}

// A start as the entry point makes it: the window, the state read into it, shown and
// painted once.
CMainFrame* StartWithState(const std::wstring& stateFile) {
    auto* frame = new CMainFrame();
    HWND hwnd = frame->Create(nullptr, L"bench_player_start", WS_VISIBLE | WS_OVERLAPPEDWINDOW, WS_EX_APPWINDOW, 0,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr);
    if (!hwnd) {
        delete frame;
        return nullptr;
    }
    if (!frame->RestoreUserState(stateFile))
        frame->CenterWindow();
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    return frame;
}

bool StartWithUserState(CMainFrame*) {
    constexpr int kRemembered = 500;
    userstate::UserState full;
    for (int i = 0; i < kRemembered; ++i) {
        const std::wstring path = std::wstring(kFolder) + L"\\" + FileName(i);
        full.rows.push_back(path);
        full.positions.push_back({{path, 1000000u + i, 133000000000000000ull + i}, 60.0 + i});
    }
    full.selected = kRemembered - 1;
    full.volume = 80;
    const std::wstring fullFile = BenchFolder() + L"\\bench-state-500.json";
    const std::wstring noFile = BenchFolder() + L"\\bench-state-none.json";
    DeleteFileW(noFile.c_str());
    if (!userstate::ReplaceStateFile(fullFile, userstate::SerializeUserState(full))) {
        std::printf("bench_player: cannot write %ls\n", fullFile.c_str());
        return false;
    }
    // Alternating, so both meet the same machine.
    std::vector<double> withNone, withFull;
    int rows = 0;
    for (int run = 0; run < 10; ++run) {
        for (const bool useFull : {false, true}) {
            const double start = NowMs();
            CMainFrame* frame = StartWithState(useFull ? fullFile : noFile);
            (useFull ? withFull : withNone).push_back(NowMs() - start);
            if (!frame)
                return false;
            if (useFull)
                rows = frame->m_pPlayList->GetCount();
            DestroyWindow(frame->GetHWND());
            testsupport::PumpIdle();
        }
    }
    auto stats = [](std::vector<double> t) {
        std::sort(t.begin(), t.end());
        return Stats{t[t.size() / 2], t.front(), static_cast<int>(t.size())};
    };
    const Stats none = stats(withNone), filled = stats(withFull);
    Report("start to the first paint, no state file", none);
    char note[64];
    std::snprintf(note, sizeof(note), "  [+%.2f ms]", filled.median - none.median);
    Report("  with 500 rows and 500 remembered positions", filled, note);

    CMainFrame* frame = StartWithState(fullFile);
    if (!frame)
        return false;
    const Stats save = Measure(10, [] {}, [&] { frame->SaveUserState(); });
    Report("  one save of that state (written and replaced)", save);
    DestroyWindow(frame->GetHWND());
    testsupport::PumpIdle();
    return rows == kRemembered;
}

const struct {
    const char* name;
    bool (*run)(CMainFrame*);
} kBenches[] = {
    {"add to an empty list", AddToEmptyList},
    {"add known files", AddAllAgain},
    {"indexed duplicate test", DuplicateTestIndexed},
    {"linear duplicate test", DuplicateTestLinear},
    {"repaint", RepaintFullList},
    {"polling tick", PollingTick},
    {"start with the user's state", StartWithUserState},
};

} // namespace

// With an argument, only the measurements whose name holds it run.
int main(int argc, char** argv) {
    DuiLib::CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    // Pumped as the library's loop does, so removed rows are freed and the window paints.
    testsupport::SetMessageFilter(&DuiLib::CPaintManagerUI::TranslateMessage);
    auto* frame = new CMainFrame();
    g_pMainFrame = frame;
    if (!frame->Create(nullptr, L"bench_player", WS_VISIBLE | WS_OVERLAPPEDWINDOW, WS_EX_APPWINDOW, 0, 0, 840, 600, nullptr)) {
        std::fprintf(stderr, "bench_player: cannot create the main window (no display?)\n");
        return 1;
    }
    testsupport::PumpIdle();
    if (!frame->m_pPlayList) {
        std::fprintf(stderr, "bench_player: the main window has no playlist\n");
        return 1;
    }
    std::printf("bench_player: playlist of %d files in one folder, main window 840x600\n", kFiles);
    int failed = 0;
    for (const auto& bench : kBenches) {
        if (argc > 1 && !std::strstr(bench.name, argv[1]))
            continue;
        if (!bench.run(frame)) {
            std::fprintf(stderr, "bench_player: %s gave a wrong result\n", bench.name);
            ++failed;
        }
    }
    g_pMainFrame = nullptr;
    DestroyWindow(frame->GetHWND());   // OnFinalMessage deletes the object
    testsupport::PumpIdle();
    return failed ? 1 : 0;
}
