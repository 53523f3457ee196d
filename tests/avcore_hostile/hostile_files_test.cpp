// Every file of the hostile corpus (make_corpus.py) is refused or played by a real engine
// drawing into a window, and no engine call holds the caller too long: each file in a process
// of its own (--one), after the intact clip, ending cleanly; then the whole corpus in one
// process, as a folder of downloads, and the files whose reader hung again back to back. A
// hung decoder process is killed, so no file may poison the ones after it, and nothing of it stays.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "avcore/avplayer.h"
#include "support/child_process.h"
#include "support/pump.h"
#include "avcore/avplayer_probe.h"
#include "avcore/avplayer_seams.h"
#include "avcore/media_env.h"
#include "avcore/player_steps.h"
#include "avcore/win_handle.h"
#include "support/test_main.h"

namespace {

// The longest an engine call may hold the UI thread for a file on a local disk (2 s),
// plus a fixed grace for a machine that other builds and tests keep busy.
constexpr double kCallBoundSeconds = 2.0 + 1.0;
// How long an accepted file has to show a picture or run its audio clock.
constexpr DWORD kFirstSignOfLifeMs = 3000;
// Sound that has played this long with no picture means the picture never comes.
constexpr double kSoundWithoutPictureSeconds = 0.5;
// A process still running after this is stuck for good, beyond any call's bound.
constexpr DWORD kProcessLimitMs = 30000;
constexpr size_t kProcessesAtOnce = 2;

// Where a child process notes the call it is in, so that a call that never returns
// can be named by the parent; empty outside a child.
std::string g_callInProgressPath;

void NoteCallInProgress(const char* name)
{
    static std::string last;
    if (g_callInProgressPath.empty() || last == name) return;
    last = name;
    std::ofstream(g_callInProgressPath) << name;
}

constexpr const char* kRefused = "refused";
constexpr const char* kPlayed = "played";
constexpr const char* kPlayedSoundOnly = "played, sound only";

struct Outcome {
    std::string verdict;
    std::string slowestCall = "-";
    double slowestSeconds = 0.0;
    bool played() const { return verdict == kPlayed || verdict == kPlayedSoundOnly; }
    bool ok() const { return verdict == kRefused || played(); }
};

// Times every engine call made through it and keeps the slowest. Every call gives back a value.
class CallTimer {
public:
    template <class Call>
    auto operator()(const char* name, Call&& call)
    {
        NoteCallInProgress(name);
        const double start = avtest::Seconds();
        auto result = call();
        const double took = avtest::Seconds() - start;
        if (std::string(name) == "open") openSeconds = took;
        if (took > slowestSeconds) {
            slowestSeconds = took;
            slowestCall = name;
        }
        return result;
    }
    Outcome outcome(std::string verdict) const { return {std::move(verdict), slowestCall, slowestSeconds}; }
    std::string slowestCall = "-";
    double slowestSeconds = 0.0;
    double openSeconds = 0.0;  // the last open
};

// Opens one file and, if it is accepted, plays it briefly; returns one of the verdicts
// above or what went wrong.
std::string Drive(avplayer& p, CallTimer& t, const std::string& path)
{
    if (!t("open", [&] { return p.open(path.c_str(), 0, 2, 0, 0); }))
        return t("play_status", [&] { return p.play_status(); }) == 0 ? kRefused : "refused, but status not 0";
    t("play", [&] { return p.play(0, 0); });
    if (t("play_status", [&] { return p.play_status(); }) != 1) return "opened, but status after play not 1";
    std::vector<uint8_t> bgra;
    int width = 0, height = 0;
    double at = 0.0;
    bool picture = false;
    const bool alive = testsupport::PumpUntil([&] {
        picture = avplayer_probe::picture(p, bgra, width, height, at);
        return picture || (avplayer_probe::hasAudioTrack(p) &&
                           t("curr_play_time", [&] { return p.curr_play_time(); }) > kSoundWithoutPictureSeconds);
    }, kFirstSignOfLifeMs);
    t("seek_to", [&] { p.seek_to(0.5); return 0; });
    t("stop", [&] { return p.stop(); });
    t("close", [&] { return p.close(); });
    if (!alive) return "opened, but no picture and no audio clock";
    if (t("play_status", [&] { return p.play_status(); }) != 0) return "closed, but status not 0";
    return picture ? kPlayed : kPlayedSoundOnly;
}

// A fresh engine drawing into a window; its construction and destruction are timed too.
Outcome Exercise(const std::string& path)
{
    avtest::TestWindow window(320, 240);
    CallTimer t;
    auto p = t("avplayer", [] { return std::make_unique<avplayer>(); });
    t("subclasswindow", [&] { return p->subclasswindow(window.hwnd(), 1); });
    avtest::WaitForReadyDecoder();  // as a user's file does: a slow process start is not the file's doing
    std::string verdict = Drive(*p, t, path);
    t("~avplayer", [&] { p.reset(); return 0; });
    return t.outcome(verdict);
}

// The intact clip: played before each file in that file's process, it shows that the
// run tells a refusal from a play, and the file then meets an engine that has played.
constexpr const char* kIntactClip = "good-clip.mp4";
constexpr const char* kCleanExit = "clean";

bool Read(std::istream& in, Outcome& o)
{
    std::string seconds;
    std::getline(in, o.verdict);
    std::getline(in, o.slowestCall);
    std::getline(in, seconds);
    o.slowestSeconds = std::atof(seconds.c_str());
    return !o.verdict.empty();
}

// The child's side (--one): the intact clip, then the file, in one process.
int ExerciseAndReport(const char* path, const char* clipPath, const char* resultPath)
{
    g_callInProgressPath = std::string(resultPath) + ".call";
    const Outcome clip = Exercise(clipPath);
    const Outcome file = Exercise(path);
    std::ofstream out(resultPath);
    for (const Outcome& o : {clip, file}) out << o.verdict << "\n" << o.slowestCall << "\n" << o.slowestSeconds << "\n";
    out.close();
    return out ? 0 : 2;
}

// One file in a process of its own (this exe with --one).
class Child {
public:
    explicit Child(std::string name) : m_name(std::move(name))
    {
        CreateDirectoryA(avtest::MediaPath("results").c_str(), nullptr);
        m_result = avtest::MediaPath(("results\\" + m_name + ".txt").c_str());
        DeleteFileA(m_result.c_str());
        DeleteFileA((m_result + ".call").c_str());
        auto Quoted = [](const std::string& s) { return '"' + s + '"'; };
        const std::string arguments = "--one " + Quoted(avtest::MediaPath(m_name.c_str())) + " " +
                                      Quoted(avtest::MediaPath(kIntactClip)) + " " + Quoted(m_result);
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        m_process = std::make_unique<testsupport::ChildProcess>(self, std::wstring(arguments.begin(), arguments.end()));
    }

    const std::string& name() const { return m_name; }
    HANDLE process() const { return m_process->Handle(); }

    struct Verdicts {
        Outcome clip, file;
        std::string exit;  // "clean", or how the process ended
    };

    Verdicts finish()
    {
        if (!m_process->Started()) return {{"-"}, {"-"}, "its process could not start"};
        const long long code = m_process->ExitCode(kProcessLimitMs);
        if (code == -1) {
            m_process->Terminate();
            std::string call = "-";
            std::ifstream(m_result + ".call") >> call;
            return {{"-"}, {"stuck", call, kProcessLimitMs / 1000.0}, "stuck, ended by the test"};
        }
        Verdicts v{{"-"}, {"no verdict"}, code == 0 ? kCleanExit : "code " + std::to_string(code)};
        std::ifstream in(m_result);
        if (Read(in, v.clip)) Read(in, v.file);
        return v;
    }

private:
    std::string m_name, m_result;
    std::unique_ptr<testsupport::ChildProcess> m_process;
};

std::vector<std::string> CorpusFiles()
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(avtest::MediaPath("."), error))
        if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(HostileFiles, EachIsRefusedOrPlayedAndNoCallOutlastsItsBound)
{
    const std::vector<std::string> files = CorpusFiles();
    ASSERT_GE(files.size(), 20u) << "the corpus was not made (make_corpus.py)";
    ASSERT_TRUE(std::count(files.begin(), files.end(), kIntactClip)) << "the corpus has no intact clip";

    int refused = 0, played = 0, failed = 0, overBound = 0, unclean = 0;
    std::printf("%-50s %-26s %-14s %-7s  %s\n", "file", "verdict", "slowest call", "seconds", "process end");
    auto report = [&](Child& child) {
        const auto [clip, file, exit] = child.finish();
        const Outcome& slowest = clip.slowestSeconds > file.slowestSeconds ? clip : file;
        const std::string call = (&slowest == &clip ? "clip " : "") + slowest.slowestCall;
        const bool slow = slowest.slowestSeconds > kCallBoundSeconds;
        std::printf("%-50s %-26s %-14s %7.2f  %s%s\n", child.name().c_str(), file.verdict.c_str(), call.c_str(),
                    slowest.slowestSeconds, exit.c_str(), slow ? "  OVER BOUND" : "");
        std::fflush(stdout);
        SCOPED_TRACE(child.name());
        EXPECT_TRUE(file.ok()) << file.verdict;
        EXPECT_EQ(clip.verdict, kPlayed) << "the intact clip, before this file in the same process";
        EXPECT_EQ(exit, kCleanExit) << "how the process ended";
        EXPECT_LE(slowest.slowestSeconds, kCallBoundSeconds) << call;
        if (child.name() == kIntactClip) {
            EXPECT_EQ(file.verdict, kPlayed);
        }
        refused += file.verdict == kRefused;
        played += file.played();
        failed += !file.ok();
        unclean += exit != kCleanExit;
        overBound += slow;
    };
    // Two processes at a time, one a core (the bound's grace covers the neighbour);
    // a new one starts as soon as either ends, so a slow file holds up only its own.
    std::vector<std::unique_ptr<Child>> running;
    for (size_t next = 0; next < files.size() || !running.empty();) {
        while (running.size() < kProcessesAtOnce && next < files.size())
            running.push_back(std::make_unique<Child>(files[next++]));
        std::vector<HANDLE> processes;
        for (const auto& child : running) processes.push_back(child->process());
        const DWORD woke = WaitForMultipleObjects(static_cast<DWORD>(processes.size()), processes.data(), FALSE,
                                                  kProcessLimitMs);
        // A child that never started, or none ended in time: the oldest is reported.
        const size_t ended = woke - WAIT_OBJECT_0 < processes.size() ? woke - WAIT_OBJECT_0 : 0;
        report(*running[ended]);
        running.erase(running.begin() + static_cast<std::ptrdiff_t>(ended));
    }
    std::printf("%zu files: %d refused, %d played, %d neither; %d processes ended unclean; %d over the %.1f s bound\n",
                files.size(), refused, played, failed, unclean, overBound, kCallBoundSeconds);
}

// Wine keeps up to two more handles for good over the first dozen processes it ends,
// whatever ends them; seen never to grow after that.
constexpr DWORD kPlatformHandles = 2;
// What a busy neighbour on a two-core machine may add to an open.
constexpr double kNeighbourGraceSeconds = 1.0;
// A killed decoder's process ends and the warm one after it starts within this.
constexpr DWORD kBackToBaselineMs = 10000;

// What a player's engine leaves in its process between files, once its decoder pool
// has a warm decoder again: threads and handles.
struct Baseline {
    Baseline()
    {
        avtest::WaitForReadyDecoder();
        threads = avcore::WorkerThread::running();
        handles = avtest::HandleCount();
    }
    int threads = 0;
    DWORD handles = 0;

    bool restored() const
    {
        return avplayer_probe::decoderPoolSettled() && avcore::WorkerThread::running() <= threads &&
               avtest::HandleCount() <= handles + kPlatformHandles;
    }
    std::string describe() const
    {
        return "threads " + std::to_string(avcore::WorkerThread::running() - threads) + ", handles " +
               std::to_string(static_cast<long>(avtest::HandleCount()) - static_cast<long>(handles)) +
               " above the baseline";
    }
};

// One engine, one window, files opened one after another in this process as the
// player does it; after each file that cost a decoder, the engine is back at its baseline.
class OneProcessRun {
public:
    OneProcessRun()
    {
        m_player.subclasswindow(m_window.hwnd(), 1);
        // Once the intact clip has played, the engine holds what it keeps between files.
        const Result clip = play(kIntactClip);
        EXPECT_EQ(clip.verdict, kPlayed) << "the intact clip, first";
        clipOpenSeconds = clip.openSeconds;
        // The platform keeps a few handles for good the first times a process of the
        // player's is killed, in an open and in a close: the baseline is taken after that.
        for (const avcore::ReaderFaultSeam fault : {avcore::ReaderFaultSeam{avcore::ReaderFault::CreationHangs, 0},
                                                    avcore::ReaderFaultSeam{avcore::ReaderFault::ReadHangs, 6}}) {
            avplayer_seams::install(m_player, {fault, {}});
            CallTimer t;
            Drive(m_player, t, avtest::MediaPath(kIntactClip));
        }
        avplayer_seams::install(m_player, {});
        m_base = Baseline{};
        m_measured = true;
    }

    struct Result : Outcome {
        double openSeconds = 0.0;
        bool killed = false;  // a decoder was killed or died on this file
    };
    double clipOpenSeconds = 0.0;  // the intact clip's open before any other file
    DWORD baseHandles() const { return m_base.handles; }

    Result play(const std::string& name)
    {
        CallTimer t;
        const int lost = avplayer_probe::decodersLost();
        Result r{t.outcome(Drive(m_player, t, avtest::MediaPath(name.c_str()))), t.openSeconds};
        r.killed = avplayer_probe::decodersLost() > lost;
        if (r.killed && m_measured) {
            EXPECT_TRUE(testsupport::PumpUntil([&] { return m_base.restored(); }, kBackToBaselineMs))
                << name << ": " << m_base.describe();
        }
        return r;
    }

private:
    avtest::TestWindow m_window{320, 240};
    avplayer m_player;
    Baseline m_base;
    bool m_measured = false;  // m_base holds what the engine keeps between files
};

// Plays the files in `run`, each judged; returns those whose reader hung (in the open, or
// in a read found at the budget or at the close): their decoder was killed.
std::vector<std::string> PlayEach(OneProcessRun& run, const std::vector<std::string>& files, bool print)
{
    std::vector<std::string> hung;
    if (print)
        std::printf("%-50s %-26s %-14s %7s  %s\n", "file (all in one process)", "verdict", "slowest call", "seconds",
                    "decoder");
    for (const std::string& name : files) {
        const OneProcessRun::Result r = run.play(name);
        if (print) {
            std::printf("%-50s %-26s %-14s %7.2f  %s, handles %+ld\n", name.c_str(), r.verdict.c_str(),
                        r.slowestCall.c_str(), r.slowestSeconds, r.killed ? "killed" : "-",
                        static_cast<long>(avtest::HandleCount()) - static_cast<long>(run.baseHandles()));
            std::fflush(stdout);
        }
        SCOPED_TRACE(name);
        EXPECT_TRUE(r.ok()) << r.verdict;
        EXPECT_LE(r.slowestSeconds, kCallBoundSeconds) << r.slowestCall;
        if (r.killed) hung.push_back(name);
    }
    return hung;
}

// The files whose reader hung when the whole corpus ran in one process.
std::vector<std::string> g_hungFiles;

TEST(HostileFiles, TheWholeCorpusInOneProcessEndsWithTheIntactClipPlaying)
{
    ASSERT_GE(CorpusFiles().size(), 20u) << "the corpus was not made (make_corpus.py)";
    OneProcessRun run;
    g_hungFiles = PlayEach(run, CorpusFiles(), true);
    const OneProcessRun::Result clip = run.play(kIntactClip);
    EXPECT_EQ(clip.verdict, kPlayed) << "the intact clip, after the whole corpus";
    RecordProperty("clip_open_seconds_first", std::to_string(run.clipOpenSeconds));
    RecordProperty("clip_open_seconds_last", std::to_string(clip.openSeconds));
    RecordProperty("decoders_killed", static_cast<int>(g_hungFiles.size()));
}

TEST(HostileFiles, FilesThatHangTheReaderBackToBackDoNotPoisonTheIntactClip)
{
    if (g_hungFiles.empty()) {
        OneProcessRun finder;
        g_hungFiles = PlayEach(finder, CorpusFiles(), false);
    }
    // Two hung readers were enough to stall every later open of a process for good.
    ASSERT_GE(g_hungFiles.size(), 5u) << "the corpus must hold at least five files whose reader hangs";
    OneProcessRun run;
    PlayEach(run, g_hungFiles, false);
    const OneProcessRun::Result clip = run.play(kIntactClip);
    EXPECT_EQ(clip.verdict, kPlayed) << "the intact clip, after " << g_hungFiles.size() << " hung readers";
    // Within its normal time: what it took before the hung files, and a loaded machine's grace.
    EXPECT_LE(clip.openSeconds, run.clipOpenSeconds + kNeighbourGraceSeconds);
    RecordProperty("clip_open_seconds_first", std::to_string(run.clipOpenSeconds));
    RecordProperty("clip_open_seconds_last", std::to_string(clip.openSeconds));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && std::string(argv[1]) == "--one") return ExerciseAndReport(argv[2], argv[3], argv[4]);
    testing::InitGoogleTest(&argc, argv);
    return testsupport::RunAllTestsShowingSkips();
}
