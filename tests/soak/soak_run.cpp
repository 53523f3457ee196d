// A soak run of the real Morvane.exe: a clip plays while a seeded stream of
// clicks, double-clicks, drags and keys lands on its main window, and on the
// video window and its bar while it is full screen. The player must answer after
// every input, and every 50 inputs and at the end its threads, handles, GDI and
// USER objects must stay within a bound of what it held once the clip first
// played. Run by tools/soak.sh (make soak), never by CTest: it takes minutes.
#include <gtest/gtest.h>

#include <windows.h>
#include <algorithm>
#include <memory>
#include <cstdio>
#include <string>
#include <vector>
#include "e2e/e2e_start.h"
#include "soak/modal_windows.h"
#include "soak/process_figures.h"
#include "soak/random_input.h"

namespace {

using namespace e2e;
using soak::Figures;

constexpr uint32_t kDefaultSeed = 20261207;
constexpr int kDefaultInputs = 1000;
constexpr int kCheckEvery = 50;
constexpr DWORD kAnswerLimitMs = 5000;
constexpr DWORD kLongestPauseMs = 120;
constexpr const wchar_t* kClips = L"\"long.mkv\" \"first.mp4\" \"second.mkv\"";

// How far each figure may rise above its start value. Both are taken in the same
// state (the clip playing in the window at its place, nothing else open), so
// what a dialog, full screen or a file being switched holds for a while is not
// counted. What is left is small: a Wine or GStreamer pool thread that comes or
// goes, handles of the file that plays, images and brushes the library keeps
// once first drawn (hot and pushed looks), one tooltip window. A file's reader
// left behind holds about a dozen threads; a handle, GDI object or window lost
// per open, dialog or full-screen switch adds dozens over a thousand inputs.
struct Slack {
    long threads = 4;
    long handles = 32;
    long gdi = 64;
    long user = 4;
};

long EnvNumber(const wchar_t* name, long fallback) {
    const std::wstring text = Env(name);
    return text.empty() ? fallback : wcstol(text.c_str(), nullptr, 10);
}

RECT Intersect(const RECT& a, const RECT& b) {
    RECT out{};
    IntersectRect(&out, &a, &b);
    return out;
}

// The player's windows as they stand now.
struct PlayerWindows {
    HWND main = nullptr;
    HWND video = nullptr;
    HWND bar = nullptr;
    bool fullScreen = false;
};

PlayerWindows Locate(DWORD processId, HWND main) {
    PlayerWindows w;
    w.main = main;
    // Full screen, the video window leaves the main window for the desktop.
    HWND top = FindTopWindow(processId, L"VideoRealWnd");
    if (top && !(GetWindowLongW(top, GWL_STYLE) & WS_CHILD)) {
        w.video = top;
        w.fullScreen = true;
    } else {
        w.video = FindDescendant(main, L"VideoRealWnd");
    }
    w.bar = w.video ? FindDescendant(w.video, L"PlayerBarWnd") : nullptr;
    return w;
}

struct Ledger {
    Figures start, end;
    Figures peakFound;     // at the checks, in whatever state the inputs left
    Figures peakSettled;   // at the checks, once settled as at the start
    soak::FigureSources sources;
    int sent[soak::kInputKinds] = {};
    double slowestMs = 0;
    int slowestInput = 0;
    const char* slowestKind = "";
    int checks = 0;
    int leftFullScreen = 0;
    int windowPutBack = 0;
    int playPressed = 0;
    int filesAdded = 0;
    soak::ModalTally modals;
    std::vector<std::string> faults;
};

void RaisePeak(Figures& peak, const Figures& now) {
    peak.threads = std::max(peak.threads, now.threads);
    peak.handles = std::max(peak.handles, now.handles);
    peak.gdi = std::max(peak.gdi, now.gdi);
    peak.user = std::max(peak.user, now.user);
}

class SoakRun {
public:
    SoakRun(const PlayerProcess& player, HANDLE process, HWND main, const References& refs, const std::wstring& media,
            Ledger& ledger)
        : m_player(player), m_process(process), m_main(main), m_refs(refs), m_media(media), m_screen(main, refs),
          m_ledger(ledger), m_home(WindowRect(main)) {}

    // Closes what is open, leaves full screen, puts the window back where it
    // started and has the clip playing: the state the start figures were taken in.
    ::testing::AssertionResult Settle() {
        soak::CloseModalWindows(m_player.Id(), m_ledger.modals);
        // Off the window, so no tooltip covers the status it reads.
        MoveMouseTo({0, 0});
        PlayerWindows w = Locate(m_player.Id(), m_main);
        if (w.fullScreen) {
            SetForegroundWindow(w.video);
            PressKey(VK_ESCAPE);
            if (!testsupport::PumpUntil([&] { return !Locate(m_player.Id(), m_main).fullScreen; }, 5000))
                return ::testing::AssertionFailure() << "Escape did not leave full screen";
            ++m_ledger.leftFullScreen;
        }
        const RECT rc = WindowRect(m_main);
        if (IsZoomed(m_main) || IsIconic(m_main) || !EqualRect(&rc, &m_home)) {
            if (IsZoomed(m_main) || IsIconic(m_main)) ShowWindow(m_main, SW_RESTORE);
            SetWindowPos(m_main, nullptr, m_home.left, m_home.top, m_home.right - m_home.left, m_home.bottom - m_home.top,
                         SWP_NOZORDER);
            if (!testsupport::PumpUntil([&] { const RECT now = WindowRect(m_main); return EqualRect(&now, &m_home) == TRUE; }, 5000))
                return ::testing::AssertionFailure() << "the main window did not return to its place";
            ++m_ledger.windowPutBack;
        }
        SetForegroundWindow(m_main);
        if (Playing(3000)) return ::testing::AssertionSuccess();
        Press(m_screen.CenterOf(m_refs.layout.play));
        ++m_ledger.playPressed;
        if (Playing(10000)) return ::testing::AssertionSuccess();
        // An empty list answers play with a message box: add the clips again.
        soak::CloseModalWindows(m_player.Id(), m_ledger.modals);
        ::testing::AssertionResult added = AddThroughDialog(m_player, m_screen, m_refs.layout.add, kClips, m_media);
        if (!added) return added;
        ++m_ledger.filesAdded;
        Press(m_screen.CenterOf(m_refs.layout.play));
        ++m_ledger.playPressed;
        return m_screen.Await("settle-plays", [&] { return m_screen.Status() == kPlaying; }, 20000);
    }

    // One random input, then the player must answer.
    bool Step(int number, soak::InputStream& stream) {
        soak::CloseModalWindows(m_player.Id(), m_ledger.modals);
        const PlayerWindows w = Locate(m_player.Id(), m_main);
        std::vector<soak::Area> areas;
        std::vector<RECT> forbidden;
        const RECT screen = ScreenRect();
        if (w.fullScreen) {
            areas = {{screen, 7}, {{0, screen.bottom - 50, screen.right, screen.bottom}, 3}};
        } else {
            const RECT win = Intersect(WindowRect(m_main), screen);
            areas = {{win, 4},
                     {{win.left, win.bottom - 56, win.right, win.bottom}, 3},
                     {{win.left, win.top, win.right, win.top + 50}, 1},
                     {{win.right - 212, win.top + 50, win.right, win.bottom - 56}, 2},
                     // The list's add, delete and clear buttons, small but where dialogs come from.
                     {{win.right - 110, win.top + 50, win.right, win.top + 84}, 1}};
            forbidden = {CaptionButton(m_refs.layout.minimise), CaptionButton(m_refs.layout.close)};
        }
        const soak::Input input = stream.Next(areas, forbidden);
        if (input.kind == soak::InputKind::Key) {
            SetForegroundWindow(w.fullScreen ? w.video : m_main);
        } else if (w.fullScreen && w.bar && input.at.y >= screen.bottom - 50 && !IsWindowVisible(w.bar)) {
            // The bar comes up when the pointer touches the bottom edge.
            MoveMouseTo({input.at.x, screen.bottom - 1});
            testsupport::PumpUntil([&] { return IsWindowVisible(w.bar) == TRUE; }, 1500);
        }
        soak::Send(input);
        ++m_ledger.sent[static_cast<int>(input.kind)];
        if (!Answers(number, soak::KindName(input.kind))) return false;
        Sleep(stream.Pause(kLongestPauseMs));
        soak::CloseModalWindows(m_player.Id(), m_ledger.modals);
        if (m_ledger.modals.stuck > 0) {
            m_ledger.faults.push_back("after input " + std::to_string(number) + ": a window of the player would not close");
            return false;
        }
        return Answers(number, soak::KindName(input.kind));
    }

    // The figures as the inputs left the player, then settled as at the start and
    // held against the start values and their bound.
    Figures Check(const std::string& when, const Slack& slack) {
        ++m_ledger.checks;
        const Figures found = soak::ReadFigures(m_process, m_player.Id(), &m_ledger.sources);
        RaisePeak(m_ledger.peakFound, found);
        if (::testing::AssertionResult settled = Settle(); !settled) {
            m_ledger.faults.push_back(when + ": " + settled.message());
            return found;
        }
        const Figures now = soak::ReadFigures(m_process, m_player.Id(), &m_ledger.sources);
        RaisePeak(m_ledger.peakSettled, now);
        printf("  %s: as found threads %ld, handles %ld, GDI %ld, USER %ld; settled %ld, %ld, %ld, %ld\n", when.c_str(),
               found.threads, found.handles, found.gdi, found.user, now.threads, now.handles, now.gdi, now.user);
        fflush(stdout);
        const struct {
            const char* name;
            long start, now, slack;
        } rows[] = {{"threads", m_ledger.start.threads, now.threads, slack.threads},
                    {"handles", m_ledger.start.handles, now.handles, slack.handles},
                    {"GDI objects", m_ledger.start.gdi, now.gdi, slack.gdi},
                    {"USER objects", m_ledger.start.user, now.user, slack.user}};
        for (const auto& row : rows) {
            if (row.now < 0)
                m_ledger.faults.push_back(when + ": " + row.name + " could not be read");
            else if (row.now > row.start + row.slack)
                m_ledger.faults.push_back(when + ": " + row.name + " " + std::to_string(row.now) + " > start " +
                                          std::to_string(row.start) + " + " + std::to_string(row.slack));
        }
        return now;
    }

private:
    // A caption button of the main window where it is now: the buttons keep their
    // distance from the right edge at any width. A margin keeps a press off its edge.
    RECT CaptionButton(const RECT& atStartWidth) const {
        RECT client{};
        GetClientRect(m_main, &client);
        const LONG shift = client.right - (m_home.right - m_home.left);
        RECT rc = atStartWidth;
        OffsetRect(&rc, shift, 0);
        MapWindowPoints(m_main, nullptr, reinterpret_cast<POINT*>(&rc), 2);
        InflateRect(&rc, 4, 4);
        return rc;
    }

    bool Playing(DWORD timeoutMs) {
        return testsupport::PumpUntil([&] { return m_screen.Capture() && m_screen.Status() == kPlaying; }, timeoutMs, 100);
    }

    bool Answers(int number, const char* kind) {
        if (!m_player.Running()) {
            m_ledger.faults.push_back("after input " + std::to_string(number) + " (" + kind + "): the player ended");
            return false;
        }
        const double ms = soak::AnswerTime(m_main, kAnswerLimitMs);
        if (ms < 0) {
            m_ledger.faults.push_back("after input " + std::to_string(number) + " (" + kind + "): no answer within " +
                                      std::to_string(kAnswerLimitMs) + " ms");
            return false;
        }
        if (ms > m_ledger.slowestMs) {
            m_ledger.slowestMs = ms;
            m_ledger.slowestInput = number;
            m_ledger.slowestKind = kind;
        }
        return true;
    }

    const PlayerProcess& m_player;
    HANDLE m_process;
    HWND m_main;
    const References& m_refs;
    const std::wstring m_media;
    PlayerScreen m_screen;
    Ledger& m_ledger;
    const RECT m_home;
};

void PrintFigure(const char* name, long start, long peakSettled, long end, long slack, long peakFound,
                 const char* source) {
    printf("  %-13s start %5ld  peak %5ld  end %5ld  (bound start + %ld; peak in any state %ld; read from %s)\n", name,
           start, peakSettled, end, slack, peakFound, source);
}

void PrintReport(uint32_t seed, int inputs, const Ledger& ledger, const Slack& slack) {
    const int* n = ledger.sent;
    int sent = 0;
    for (int i = 0; i < soak::kInputKinds; ++i) sent += n[i];
    printf("soak report\n");
    printf("  seed %u; inputs %d of %d: %d clicks, %d double-clicks, %d drags, %d keys\n", seed, sent, inputs, n[0], n[1],
           n[2], n[3]);
    printf("  modal windows closed: %d (%d by Escape, %d by WM_CLOSE)", ledger.modals.Closed(), ledger.modals.byEscape,
           ledger.modals.byCloseMessage);
    for (const auto& [name, count] : ledger.modals.closedByClass) printf("; %s %d", Utf8(name).c_str(), count);
    printf("\n");
    printf("  checks: %d; at them the run left full screen %d times, put the window back %d times, pressed play %d "
           "times, re-added the clips %d times\n",
           ledger.checks, ledger.leftFullScreen, ledger.windowPutBack, ledger.playPressed, ledger.filesAdded);
    const Figures &s = ledger.start, &p = ledger.peakSettled, &f = ledger.peakFound, &e = ledger.end;
    PrintFigure("threads", s.threads, p.threads, e.threads, slack.threads, f.threads, "Toolhelp snapshot");
    PrintFigure("handles", s.handles, p.handles, e.handles, slack.handles, f.handles, ledger.sources.handles);
    PrintFigure("GDI objects", s.gdi, p.gdi, e.gdi, slack.gdi, f.gdi, ledger.sources.gdi);
    PrintFigure("USER objects", s.user, p.user, e.user, slack.user, f.user, ledger.sources.user);
    printf("  slowest answer: %.1f ms (after input %d, a %s)\n", ledger.slowestMs, ledger.slowestInput,
           ledger.slowestKind);
    for (const std::string& fault : ledger.faults) printf("  fault: %s\n", fault.c_str());
    printf("soak: %s\n", ledger.faults.empty() ? "PASS" : "FAIL");
    fflush(stdout);
}

TEST(Soak, RandomInputWhileAClipPlaysLeavesThePlayerAnsweringWithinItsBounds) {
    const RunFolders folders;
    ASSERT_FALSE(folders.work.empty()) << "run through tools/soak.sh, which sets MORVANE_E2E_DIR";
    const uint32_t seed = static_cast<uint32_t>(EnvNumber(L"MORVANE_SOAK_SEED", kDefaultSeed));
    const int inputs = static_cast<int>(EnvNumber(L"MORVANE_SOAK_INPUTS", kDefaultInputs));
    printf("soak: seed %u, %d inputs (MORVANE_SOAK_SEED, MORVANE_SOAK_INPUTS)\n", seed, inputs);
    fflush(stdout);

    const std::vector<std::wstring> clocks = ClockTexts(9);
    References refs;
    SettingsLayout settingsLayout;
    BarLayout barLayout;
    const std::wstring error =
        RenderReferences({kPlaying, kPaused, L"停止", L"加载中请等待..."}, clocks, refs, settingsLayout, barLayout);
    ASSERT_TRUE(error.empty()) << Utf8(error);

    const std::wstring copied = PrivateCopy(folders.folder);
    ASSERT_TRUE(copied.empty()) << Utf8(copied);
    PlayerProcess player(folders.exe, folders.media);
    HWND main = nullptr;
    ASSERT_TRUE(AwaitMainWindow(player, main));
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, player.Id());
    ASSERT_NE(process, nullptr);
    std::unique_ptr<void, decltype(&CloseHandle)> processOwner(process, &CloseHandle);

    PlayerScreen screen(main, refs);
    ASSERT_TRUE(screen.Await("started", [&] { return screen.Status() == L"(blank)"; }, 15000));
    ASSERT_TRUE(AddThroughDialog(player, screen, refs.layout.add, kClips, folders.media));
    Press(screen.CenterOf(refs.layout.play));
    // Start values once the clip plays and its clock has moved: the engine's
    // threads and buffers for an open file are then all in place.
    ASSERT_TRUE(screen.Await("first-plays", [&] {
        const std::wstring clock = screen.Clock();
        return screen.Status() == kPlaying && clock != L"?" && clock > L"00:00:01";
    }, 20000));

    Ledger ledger;
    const Slack slack;
    ledger.start = soak::ReadFigures(process, player.Id(), &ledger.sources);
    ledger.peakFound = ledger.peakSettled = ledger.start;
    SoakRun run(player, process, main, refs, folders.media, ledger);
    soak::InputStream stream(seed);
    bool going = true;
    for (int i = 1; i <= inputs && going; ++i) {
        going = run.Step(i, stream);
        if (going && i % kCheckEvery == 0 && i < inputs) {
            run.Check("check after input " + std::to_string(i), slack);
            going = ledger.faults.empty();
        }
    }
    if (player.Running()) {
        ledger.end = run.Check("at the end", slack);
        if (soak::AnswerTime(main, kAnswerLimitMs) < 0) ledger.faults.push_back("at the end: no answer");
    } else if (ledger.faults.empty()) {
        ledger.faults.push_back("at the end: the player ended");
    }
    if (!ledger.faults.empty()) {
        // What the screen showed when the run ended, for reading the fault.
        testsupport::Shot shot;
        if (CaptureScreen(ScreenRect(), shot)) SaveShot(shot, testsupport::ScreenshotPath(L"soak-fault.png"));
    }
    PrintReport(seed, inputs, ledger, slack);
    EXPECT_TRUE(ledger.faults.empty()) << ledger.faults.size() << " faults; the first: " << ledger.faults.front();
}

} // namespace
