// Every file of the hostile corpus (make_corpus.py) is either refused or played by a
// real engine drawing into a window, and no engine call holds the caller too long.
// Each file gets a process of its own (this exe with --one), where the intact clip
// plays after it: a reader that the platform never lets go can stall later opens in
// its process, and that must be laid at the door of the file that caused it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "avcore/avplayer.h"
#include "avcore/avplayer_probe.h"
#include "avcore/media_env.h"
#include "avcore/win_handle.h"

namespace {

// The longest an engine call may hold the UI thread for a file on a local disk (2 s),
// plus a fixed grace for a machine that other builds and tests keep busy.
constexpr double kCallBoundSeconds = 2.0 + 1.0;
// How long an accepted file has to show a picture or run its audio clock.
constexpr DWORD kFirstSignOfLifeMs = 3000;
// Sound that has played this long with no picture means the picture never comes.
constexpr double kSoundWithoutPictureSeconds = 0.5;
// A process still running after this is stuck for good, beyond any call's bound.
constexpr DWORD kProcessLimitMs = 60000;
constexpr size_t kProcessesAtOnce = 2;

// Times every engine call made through it and keeps the slowest.
class CallTimer {
public:
    template <class Call>
    decltype(auto) operator()(const char* name, Call&& call)
    {
        const Stopwatch watch{*this, name, avtest::Seconds()};
        return call();
    }
    std::string slowestCall = "-";
    double slowestSeconds = 0.0;

private:
    struct Stopwatch {
        CallTimer& timer;
        const char* name;
        double start;
        ~Stopwatch()
        {
            const double took = avtest::Seconds() - start;
            if (took > timer.slowestSeconds) {
                timer.slowestSeconds = took;
                timer.slowestCall = name;
            }
        }
    };
};

constexpr const char* kRefused = "refused";
constexpr const char* kPlayed = "played";
constexpr const char* kPlayedSoundOnly = "played, sound only";

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
    const bool alive = avtest::WaitFor([&] {
        picture = avplayer_probe::picture(p, bgra, width, height, at);
        return picture || (avplayer_probe::hasAudioTrack(p) &&
                           t("curr_play_time", [&] { return p.curr_play_time(); }) > kSoundWithoutPictureSeconds);
    }, kFirstSignOfLifeMs);
    t("seek_to", [&] { p.seek_to(0.5); });
    t("stop", [&] { return p.stop(); });
    t("close", [&] { return p.close(); });
    if (!alive) return "opened, but no picture and no audio clock";
    if (t("play_status", [&] { return p.play_status(); }) != 0) return "closed, but status not 0";
    return picture ? kPlayed : kPlayedSoundOnly;
}

struct Outcome {
    std::string verdict;
    std::string slowestCall = "-";
    double slowestSeconds = 0.0;
    bool played() const { return verdict == kPlayed || verdict == kPlayedSoundOnly; }
    bool ok() const { return verdict == kRefused || played(); }
};

// A fresh engine drawing into a window; its construction and destruction are timed too.
Outcome Exercise(const std::string& path)
{
    avtest::TestWindow window(320, 240);
    CallTimer t;
    auto p = t("avplayer", [] { return std::make_unique<avplayer>(); });
    t("subclasswindow", [&] { return p->subclasswindow(window.hwnd(), 1); });
    std::string verdict = Drive(*p, t, path);
    t("~avplayer", [&] { p.reset(); });
    return {verdict, t.slowestCall, t.slowestSeconds};
}

// The intact clip: played after each file in that file's process, it shows that the
// run tells a refusal from a play, and that no file leaves the engine unable to play.
constexpr const char* kIntactClip = "good-clip.mp4";

void Write(FILE* f, const Outcome& o)
{
    std::fprintf(f, "%s\n%s\n%.3f\n", o.verdict.c_str(), o.slowestCall.c_str(), o.slowestSeconds);
}

std::string Line(FILE* f)
{
    char buf[256] = {};
    if (!std::fgets(buf, sizeof(buf), f)) return {};
    std::string s(buf);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    return s;
}

bool Read(FILE* f, Outcome& o)
{
    o.verdict = Line(f);
    o.slowestCall = Line(f);
    o.slowestSeconds = std::atof(Line(f).c_str());
    return !o.verdict.empty();
}

// The child's side (--one): the file, then the intact clip, in one process.
int ExerciseAndReport(const char* path, const char* clipPath, const char* resultPath)
{
    const Outcome file = Exercise(path);
    const Outcome clip = Exercise(clipPath);
    FILE* f = std::fopen(resultPath, "w");
    if (!f) return 2;
    Write(f, file);
    Write(f, clip);
    return std::fclose(f) == 0 ? 0 : 2;
}

std::string Quoted(std::string s)
{
    s.insert(s.begin(), '"');
    s.push_back('"');
    return s;
}

// One file in a process of its own (this exe with --one).
class Child {
public:
    explicit Child(std::string name) : m_name(std::move(name))
    {
        char self[MAX_PATH];
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        CreateDirectoryA(avtest::MediaPath("results").c_str(), nullptr);
        m_result = avtest::MediaPath(("results\\" + m_name + ".txt").c_str());
        DeleteFileA(m_result.c_str());
        std::string command = Quoted(self) + " --one " + Quoted(avtest::MediaPath(m_name.c_str())) + " " +
                              Quoted(avtest::MediaPath(kIntactClip)) + " " + Quoted(m_result);
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        if (CreateProcessA(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            m_process.reset(pi.hProcess);
            CloseHandle(pi.hThread);
        }
    }

    const std::string& name() const { return m_name; }

    // What the file did, then what the intact clip did after it.
    std::pair<Outcome, Outcome> finish()
    {
        if (!m_process) return {{"its process could not start"}, {"-"}};
        if (WaitForSingleObject(m_process.get(), kProcessLimitMs) != WAIT_OBJECT_0) {
            TerminateProcess(m_process.get(), 1);
            return {{"stuck: its process was ended", "-", kProcessLimitMs / 1000.0}, {"-"}};
        }
        DWORD code = 0;
        GetExitCodeProcess(m_process.get(), &code);
        const std::string crashed = "its process ended with code " + std::to_string(code);
        std::pair<Outcome, Outcome> out{{crashed}, {"-"}};
        if (FILE* f = std::fopen(m_result.c_str(), "r")) {
            Outcome file, clip;
            if (Read(f, file) && Read(f, clip)) out = {file, clip};
            std::fclose(f);
        }
        // Both verdicts came, but the process fell over while it ended.
        if (code != 0 && out.second.verdict != "-") out.second.verdict = crashed;
        return out;
    }

private:
    std::string m_name, m_result;
    avcore::UniqueHandle m_process;
};

std::vector<std::string> CorpusFiles()
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA(avtest::MediaPath("*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
    } while (FindNextFileA(h, &found));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(HostileFiles, EachIsRefusedOrPlayedAndNoCallOutlastsItsBound)
{
    const std::vector<std::string> files = CorpusFiles();
    ASSERT_GE(files.size(), 20u) << "the corpus was not made (make_corpus.py)";
    ASSERT_TRUE(std::count(files.begin(), files.end(), kIntactClip)) << "the corpus has no intact clip";

    int refused = 0, played = 0, failed = 0, overBound = 0, spoiled = 0;
    std::printf("%-50s %-42s %-14s %-7s %s\n", "file", "verdict", "slowest call", "seconds", "intact clip after it");
    // Two processes at a time, one a core: the bound's grace covers the neighbour.
    for (size_t i = 0; i < files.size(); i += kProcessesAtOnce) {
        std::vector<Child> children;
        for (size_t j = i; j < std::min(files.size(), i + kProcessesAtOnce); ++j) children.emplace_back(files[j]);
        for (Child& child : children) {
            const auto [file, clip] = child.finish();
            const Outcome& slowest = clip.slowestSeconds > file.slowestSeconds ? clip : file;
            const std::string call = (&slowest == &clip ? "clip " : "") + slowest.slowestCall;
            const bool slow = slowest.slowestSeconds > kCallBoundSeconds;
            std::printf("%-50s %-42s %-14s %7.2f %s%s\n", child.name().c_str(), file.verdict.c_str(), call.c_str(),
                        slowest.slowestSeconds, clip.verdict.c_str(), slow ? "  OVER BOUND" : "");
            std::fflush(stdout);
            SCOPED_TRACE(child.name());
            EXPECT_TRUE(file.ok()) << file.verdict;
            EXPECT_EQ(clip.verdict, kPlayed) << "the intact clip, after this file in the same process";
            EXPECT_LE(slowest.slowestSeconds, kCallBoundSeconds) << call;
            if (child.name() == kIntactClip) {
                EXPECT_EQ(file.verdict, kPlayed);
            }
            refused += file.verdict == kRefused;
            played += file.played();
            failed += !file.ok();
            spoiled += clip.verdict != kPlayed;
            overBound += slow;
        }
    }
    std::printf("%zu files: %d refused, %d played, %d neither; the intact clip failed after %d; %d over the %.1f s "
                "bound\n", files.size(), refused, played, failed, spoiled, overBound, kCallBoundSeconds);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && std::string(argv[1]) == "--one") return ExerciseAndReport(argv[2], argv[3], argv[4]);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
