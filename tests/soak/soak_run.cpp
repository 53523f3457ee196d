// A soak run of the real Morvane.exe: a seeded stream of clicks, double-clicks, drags and keys
// on its windows, full screen too, while a clip plays. It must answer after every input, and
// every 50 inputs and at the end its threads, handles, GDI and USER objects stay within a bound
// of what it held once the clip first played. Run by tools/soak.sh (make soak), never by CTest:
// it takes minutes.
#include <algorithm>
#include <cstdio>
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
constexpr Figures kSlack{.threads = 4, .handles = 32, .gdi = 64, .user = 4};

long EnvNumber(const wchar_t* name, long fallback) {
    const std::wstring text = Env(name);
    return text.empty() ? fallback : wcstol(text.c_str(), nullptr, 10);
}

// The player's windows as they stand now.
struct PlayerWindows {
    HWND video = nullptr;
    HWND bar = nullptr;
    bool fullScreen = false;
};

PlayerWindows Locate(DWORD processId, HWND main) {
    PlayerWindows w;
    // Full screen, the video window leaves the main window for the desktop.
    HWND top = FindTopWindow(processId, L"VideoRealWnd");
    w.fullScreen = top && !(GetWindowLongW(top, GWL_STYLE) & WS_CHILD);
    w.video = w.fullScreen ? top : FindDescendant(main, L"VideoRealWnd");
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
    for (const soak::FigureField& field : soak::kFigureFields)
        peak.*field.value = std::max(peak.*field.value, now.*field.value);
}

// The player under the inputs, and what the run found.
class Soak : public PlayerTest {
protected:

    // Closes what is open, leaves full screen, puts the window back where it
    // started and has the clip playing: the state the start figures were taken in.
    ::testing::AssertionResult Settle() {
        soak::CloseModalWindows(player->Id(), ledger.modals);
        // Off the window, so no tooltip covers the status it reads.
        MoveMouseTo({0, 0});
        PlayerWindows w = Locate(player->Id(), main);
        if (w.fullScreen) {
            SetForegroundWindow(w.video);
            PressKey(VK_ESCAPE);
            if (!testsupport::PumpUntil([&] { return !Locate(player->Id(), main).fullScreen; }, 5000))
                return ::testing::AssertionFailure() << "Escape did not leave full screen";
            ++ledger.leftFullScreen;
        }
        const RECT rc = WindowRect(main);
        if (IsZoomed(main) || IsIconic(main) || !EqualRect(&rc, &home)) {
            if (IsZoomed(main) || IsIconic(main)) ShowWindow(main, SW_RESTORE);
            SetWindowPos(main, nullptr, home.left, home.top, home.right - home.left, home.bottom - home.top,
                         SWP_NOZORDER);
            if (!testsupport::PumpUntil([&] { const RECT now = WindowRect(main); return EqualRect(&now, &home) == TRUE; }, 5000))
                return ::testing::AssertionFailure() << "the main window did not return to its place";
            ++ledger.windowPutBack;
        }
        SetForegroundWindow(main);
        if (Playing(3000)) return ::testing::AssertionSuccess();
        Press(screen.CenterOf(refs.layout.play));
        ++ledger.playPressed;
        if (Playing(10000)) return ::testing::AssertionSuccess();
        // An empty list answers play with a message box: add the clips again.
        soak::CloseModalWindows(player->Id(), ledger.modals);
        if (::testing::AssertionResult added = Add(kClips); !added) return added;
        ++ledger.filesAdded;
        Press(screen.CenterOf(refs.layout.play));
        ++ledger.playPressed;
        return screen.Await("settle-plays", [&] { return screen.Status() == kPlaying; }, 20000);
    }

    // One random input, then the player must answer.
    bool Step(int number, soak::InputStream& stream) {
        soak::CloseModalWindows(player->Id(), ledger.modals);
        const PlayerWindows w = Locate(player->Id(), main);
        std::vector<soak::Area> areas;
        std::vector<RECT> forbidden;
        const RECT screen = ScreenRect();
        if (w.fullScreen) {
            areas = {{screen, 7}, {{0, screen.bottom - 50, screen.right, screen.bottom}, 3}};
        } else {
            const RECT placed = WindowRect(main);
            RECT win{};
            IntersectRect(&win, &placed, &screen);
            areas = {{win, 4},
                     {{win.left, win.bottom - 56, win.right, win.bottom}, 3},
                     {{win.left, win.top, win.right, win.top + 50}, 1},
                     {{win.right - 212, win.top + 50, win.right, win.bottom - 56}, 2},
                     // The list's add, delete and clear buttons, small but where dialogs come from.
                     {{win.right - 110, win.top + 50, win.right, win.top + 84}, 1}};
            forbidden = {CaptionButton(refs.layout.minimise), CaptionButton(refs.layout.close)};
        }
        const soak::Input input = stream.Next(areas, forbidden);
        if (input.kind == soak::InputKind::Key) {
            SetForegroundWindow(w.fullScreen ? w.video : main);
        } else if (w.fullScreen && w.bar && input.at.y >= screen.bottom - 50 && !IsWindowVisible(w.bar)) {
            // The bar comes up when the pointer touches the bottom edge.
            MoveMouseTo({input.at.x, screen.bottom - 1});
            testsupport::PumpUntil([&] { return IsWindowVisible(w.bar) == TRUE; }, 1500);
        }
        soak::Send(input);
        ++ledger.sent[static_cast<int>(input.kind)];
        if (!Answers(number, soak::KindName(input.kind))) return false;
        Sleep(stream.Pause(kLongestPauseMs));
        soak::CloseModalWindows(player->Id(), ledger.modals);
        if (ledger.modals.stuck > 0) return Fault(number, ": a window of the player would not close");
        return Answers(number, soak::KindName(input.kind));
    }

    // The figures as the inputs left the player, then settled as at the start and
    // held against the start values and their bound.
    Figures Check(const std::string& when) {
        ++ledger.checks;
        const Figures found = soak::ReadFigures(process, player->Id(), &ledger.sources);
        RaisePeak(ledger.peakFound, found);
        if (::testing::AssertionResult settled = Settle(); !settled) {
            ledger.faults.push_back(when + ": " + settled.message());
            return found;
        }
        const Figures now = soak::ReadFigures(process, player->Id(), &ledger.sources);
        RaisePeak(ledger.peakSettled, now);
        printf("  %s: as found threads %ld, handles %ld, GDI %ld, USER %ld; settled %ld, %ld, %ld, %ld\n", when.c_str(),
               found.threads, found.handles, found.gdi, found.user, now.threads, now.handles, now.gdi, now.user);
        fflush(stdout);
        for (const soak::FigureField& field : soak::kFigureFields) {
            const long start = ledger.start.*field.value, at = now.*field.value, slack = kSlack.*field.value;
            if (at < 0)
                ledger.faults.push_back(when + ": " + field.name + " could not be read");
            else if (at > start + slack)
                ledger.faults.push_back(when + ": " + field.name + " " + std::to_string(at) + " > start " +
                                          std::to_string(start) + " + " + std::to_string(slack));
        }
        return now;
    }

    // A caption button of the main window where it is now: the buttons keep their
    // distance from the right edge at any width. A margin keeps a press off its edge.
    RECT CaptionButton(const RECT& atStartWidth) const {
        RECT client{};
        GetClientRect(main, &client);
        const LONG shift = client.right - (home.right - home.left);
        RECT rc = atStartWidth;
        OffsetRect(&rc, shift, 0);
        MapWindowPoints(main, nullptr, reinterpret_cast<POINT*>(&rc), 2);
        InflateRect(&rc, 4, 4);
        return rc;
    }

    bool Playing(DWORD timeoutMs) {
        return testsupport::PumpUntil([&] { return screen.Capture() && screen.Status() == kPlaying; }, timeoutMs, 100);
    }

    bool Answers(int number, const char* kind) {
        const std::string input = std::string(" (") + kind + ")";
        if (!player->Running()) return Fault(number, input + ": the player ended");
        const double ms = soak::AnswerTime(main, kAnswerLimitMs);
        if (ms < 0) return Fault(number, input + ": no answer within " + std::to_string(kAnswerLimitMs) + " ms");
        if (ms > ledger.slowestMs) {
            ledger.slowestMs = ms;
            ledger.slowestInput = number;
            ledger.slowestKind = kind;
        }
        return true;
    }

    // Records what went wrong after an input; false, so that the run stops there.
    bool Fault(int number, const std::string& what) {
        ledger.faults.push_back("after input " + std::to_string(number) + what);
        return false;
    }

    HANDLE process = nullptr;
    RECT home{};   // the main window's place when the start figures were taken
    Ledger ledger;
};

void PrintReport(uint32_t seed, int inputs, const Ledger& ledger) {
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
    for (const soak::FigureField& f : soak::kFigureFields)
        printf("  %-13s start %5ld  peak %5ld  end %5ld  (bound start + %ld; peak in any state %ld; read from %s)\n",
               f.name, ledger.start.*f.value, ledger.peakSettled.*f.value, ledger.end.*f.value, kSlack.*f.value,
               ledger.peakFound.*f.value, ledger.sources.*f.source);
    printf("  slowest answer: %.1f ms (after input %d, a %s)\n", ledger.slowestMs, ledger.slowestInput,
           ledger.slowestKind);
    for (const std::string& fault : ledger.faults) printf("  fault: %s\n", fault.c_str());
    printf("soak: %s\n", ledger.faults.empty() ? "PASS" : "FAIL");
    fflush(stdout);
}

TEST_F(Soak, RandomInputWhileAClipPlaysLeavesThePlayerAnsweringWithinItsBounds) {
    ASSERT_FALSE(run.work.empty()) << "run through tools/soak.sh, which sets MORVANE_E2E_DIR";
    const uint32_t seed = static_cast<uint32_t>(EnvNumber(L"MORVANE_SOAK_SEED", kDefaultSeed));
    const int inputs = static_cast<int>(EnvNumber(L"MORVANE_SOAK_INPUTS", kDefaultInputs));
    printf("soak: seed %u, %d inputs (MORVANE_SOAK_SEED, MORVANE_SOAK_INPUTS)\n", seed, inputs);
    fflush(stdout);
    ASSERT_TRUE(Render(kStatuses, ClockTexts(9)));
    ASSERT_TRUE(Start());
    process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, player->Id());
    ASSERT_NE(process, nullptr);
    std::unique_ptr<void, decltype(&CloseHandle)> processOwner(process, &CloseHandle);

    ASSERT_TRUE(screen.Await("started", [&] { return screen.Status() == L"(blank)"; }, 15000));
    ASSERT_TRUE(Add(kClips));
    Press(screen.CenterOf(refs.layout.play));
    // Start values once the clip plays and its clock has moved: the engine's
    // threads and buffers for an open file are then all in place.
    ASSERT_TRUE(screen.Await("first-plays", [&] {
        const std::wstring clock = screen.Clock();
        return screen.Status() == kPlaying && clock != L"?" && clock > L"00:00:01";
    }, 20000));

    ledger.start = soak::ReadFigures(process, player->Id(), &ledger.sources);
    ledger.peakFound = ledger.peakSettled = ledger.start;
    home = WindowRect(main);
    soak::InputStream stream(seed);
    bool going = true;
    for (int i = 1; i <= inputs && going; ++i) {
        going = Step(i, stream);
        if (going && i % kCheckEvery == 0 && i < inputs) {
            Check("check after input " + std::to_string(i));
            going = ledger.faults.empty();
        }
    }
    if (player->Running()) {
        ledger.end = Check("at the end");
        if (soak::AnswerTime(main, kAnswerLimitMs) < 0) ledger.faults.push_back("at the end: no answer");
    } else if (ledger.faults.empty()) {
        ledger.faults.push_back("at the end: the player ended");
    }
    if (!ledger.faults.empty()) {
        // What the screen showed when the run ended, for reading the fault.
        testsupport::Shot shot;
        if (CaptureScreen(ScreenRect(), shot)) SaveShot(shot, testsupport::ScreenshotPath(L"soak-fault.png"));
    }
    PrintReport(seed, inputs, ledger);
    EXPECT_TRUE(ledger.faults.empty()) << ledger.faults.size() << " faults; the first: " << ledger.faults.front();
}

} // namespace
