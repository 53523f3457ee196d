// Engine throughput and real-time playback.
//   bench_avcore decode   FILE          Source Reader alone: NV12 pictures read per second
//   bench_avcore pipeline FILE SHAPE FX  the engine's decode (in its decoder process) -> convert -> effect
//                                        path, per second
//   bench_avcore realtime FILE SECONDS [SPEED [SUBTITLES]]  plays in a 1280x720 window: pictures shown
//                                        and dropped, and where each picture's time went
//   bench_avcore stretch               the time-stretch's CPU on 48 kHz stereo, as a share of one core
//   bench_avcore respond FILE RUNS       open to the first picture drawn, seek to the new picture drawn
#include <windows.h>
#include <mfapi.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "avcore/avplayer.h"
#include "avcore/avplayer_probe.h"
#include "avcore/convert_stage.h"
#include "avcore/frame_pool.h"
#include "avcore/call_budget.h"
#include "avcore/remote_source.h"
#include "avcore/time_stretch.h"
#include "avcore/win_handle.h"

namespace {

std::wstring Wide(const char* s)
{
    const int n = MultiByteToWideChar(CP_ACP, 0, s, -1, nullptr, 0);
    std::wstring w(n > 0 ? n - 1 : 0, L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, s, -1, w.data(), n);
    return w;
}

int Decode(const char* path)
{
    avcore::MediaThreadScope scope(true);
    Microsoft::WRL::ComPtr<IMFSourceReader> reader;
    Microsoft::WRL::ComPtr<IMFMediaType> type;
    if (FAILED(MFCreateSourceReaderFromURL(Wide(path).c_str(), nullptr, &reader)) || FAILED(MFCreateMediaType(&type)))
        return 1;
    const DWORD video = static_cast<DWORD>(MF_SOURCE_READER_FIRST_VIDEO_STREAM);
    reader->SetStreamSelection(static_cast<DWORD>(MF_SOURCE_READER_ALL_STREAMS), FALSE);
    reader->SetStreamSelection(video, TRUE);
    type->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Video);
    type->SetGUID(MF_MT_SUBTYPE, MFVideoFormat_NV12);
    if (FAILED(reader->SetCurrentMediaType(video, nullptr, type.Get()))) return 1;
    const double start = avcore::NowSeconds();
    int frames = 0;
    for (;;) {
        DWORD stream = 0, flags = 0;
        LONGLONG ts = 0;
        Microsoft::WRL::ComPtr<IMFSample> sample;
        if (FAILED(reader->ReadSample(video, 0, &stream, &flags, &ts, &sample)) ||
            (flags & MF_SOURCE_READERF_ENDOFSTREAM))
            break;
        if (sample) ++frames;
    }
    const double s = avcore::NowSeconds() - start;
    printf("decode-only       %5d frames in %6.2f s = %6.1f fps\n", frames, s, frames / s);
    return 0;
}

int Pipeline(const char* path, int shape, int effect)
{
    const avcore::UniqueHandle never = avcore::MakeEvent(true);
    avcore::RemoteSource source(never.get(), avcore::kLocalCallBudgetMs);
    if (!source.open(Wide(path))) return 1;
    // The engine's own path: this thread reads while the conversion stage converts.
    auto pool = std::make_shared<avcore::FramePool>();
    avcore::ConvertStage stage(pool, shape, effect);
    std::atomic<int> converted{0};
    std::atomic<double> convertSeconds{0.0};
    double handedOver = 0.0;
    if (!stage.start([&](avcore::FramePtr frame, uint64_t) {
            if (frame) converted.fetch_add(1);
            convertSeconds.store(convertSeconds.load() + (avcore::NowSeconds() - handedOver));
        }))
        return 1;
    const double start = avcore::NowSeconds();
    int frames = 0;
    avcore::VideoSample sample;
    while (source.readVideo(sample) == avcore::ReadStatus::Sample) {
        stage.flush();  // the previous picture is out, so the timing below is this one's
        handedOver = avcore::NowSeconds();
        stage.submit(std::move(sample), source.info().video, 0);
        ++frames;
    }
    stage.flush();
    const double s = avcore::NowSeconds() - start;
    stage.stop();
    printf("decode+convert    %5d frames in %6.2f s = %6.1f fps (shape %d, effect %d; %.2f ms from hand-over to delivery, "
           "%d converted)\n",
           frames, s, frames / s, shape, effect, frames ? convertSeconds.load() * 1e3 / frames : 0.0,
           converted.load());
    return converted.load() == frames ? 0 : 1;
}

// Null, with a word on stderr, when there is no display to draw on: the figures would be lies.
HWND VideoWindow()
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MorvaneBench";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"bench", WS_POPUP | WS_VISIBLE, 0, 0, 1280, 720, nullptr,
                                nullptr, wc.hInstance, nullptr);
    if (!hwnd) fprintf(stderr, "bench_avcore: no window could be made (is the display up?)\n");
    return hwnd;
}

// Dispatches this thread's messages, looking at done() every millisecond; false past the timeout.
template <class Done>
bool PumpUntil(Done done, double timeoutSeconds)
{
    const double deadline = avcore::NowSeconds() + timeoutSeconds;
    while (!done()) {
        if (avcore::NowSeconds() > deadline) return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
    return true;
}

// Exit without destroying the window: Wine needs two seconds for that without a window manager.
[[noreturn]] void Leave(int code)
{
    fflush(stdout);
    ExitProcess(static_cast<UINT>(code));
}

double Ms(double seconds) { return seconds * 1e3; }

void PrintTally(const char* name, const avplayer_probe::Tally& t)
{
    printf(" %s %.2f/%.1f ms", name, Ms(t.meanSeconds()), Ms(t.worstSeconds));
}

struct Spread {
    double median = 0.0, worst = 0.0;
};

Spread SpreadOf(std::vector<double> v)
{
    if (v.empty()) return {};
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return {n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2, v.back()};
}

struct SeekFigures {
    std::vector<double> waits;  // seek_to until the picture at the target was drawn
    uint64_t pictures = 0;      // decoded in those waits
    double readSeconds = 0.0;   // ... and the reader's time for them
    uint64_t retries = 0;       // seeks asked again further back
};

// Seeks to each fraction in turn and times seek_to until the picture at the target is drawn.
// False when a picture never came.
bool TimeSeeks(avplayer& player, const std::vector<double>& fractions, bool playing, SeekFigures& out)
{
    const double length = player.duration();
    const uint64_t retriesBefore = avplayer_probe::counters(player).seekRetries;
    for (double f : fractions) {
        const double target = f * length;
        const uint64_t shown = avplayer_probe::counters(player).presented;
        const avplayer_probe::Tally readBefore = avplayer_probe::timings(player).videoRead;
        const double asked = avcore::NowSeconds();
        player.seek_to(f);
        avplayer_probe::Timings t;
        // Exact seeking shows the picture that covers the target: it starts at most a picture before it.
        const bool came = PumpUntil(
            [&] {
                if (avplayer_probe::counters(player).presented == shown) return false;
                t = avplayer_probe::timings(player);
                return t.lastShownAt >= asked && std::fabs(t.lastShownSeconds - target) <= 0.05;
            },
            5.0);
        if (!came) return false;
        out.waits.push_back(t.lastShownAt - asked);
        out.pictures += t.videoRead.count - readBefore.count;
        out.readSeconds += t.videoRead.totalSeconds - readBefore.totalSeconds;
        if (playing) PumpUntil([] { return false; }, 0.3);  // play on a little, as a user watching would
    }
    out.retries = avplayer_probe::counters(player).seekRetries - retriesBefore;
    return true;
}

// What a user waits for: open until the first picture is drawn (the first open in a process
// also starts the platform's decoders, so it is shown apart), and seek until the picture at
// the target is drawn, while playing and while paused.
int Respond(const char* path, int runs)
{
    HWND hwnd = VideoWindow();
    if (!hwnd) return 1;
    avplayer player;
    // Per open after the first: the whole wait and its steps, each from the end of the one before.
    std::vector<double> opens, readers, decodes, converts, returns, draws;
    double cold = 0.0;
    for (int run = 0; run < runs; ++run) {
        player.subclasswindow(hwnd, 1);
        const double asked = avcore::NowSeconds();
        if (!player.open(path, 0, 2, 0, 0)) return 1;
        const double returned = avcore::NowSeconds() - asked;
        if (!PumpUntil([&] { return avplayer_probe::counters(player).presented > 0; }, 5.0)) return 1;
        const avplayer_probe::Timings t = avplayer_probe::timings(player);
        if (run == 0) {
            cold = t.lastShownAt - asked;
        } else {
            opens.push_back(t.lastShownAt - asked);
            readers.push_back(t.readerReadyAt - asked);
            decodes.push_back(t.firstDecodedAt - t.readerReadyAt);
            converts.push_back(t.firstConvertedAt - t.firstDecodedAt);
            returns.push_back(asked + returned - t.firstConvertedAt);
            draws.push_back(t.lastShownAt - (asked + returned));
        }
        // A user watches a little before the next file; meanwhile the engine readies a decoder for it.
        PumpUntil([] { return false; }, 1.0);
        if (run + 1 < runs) player.close();
    }
    const Spread open = SpreadOf(opens);
    printf("open to first picture   first in process %.0f ms; then median %.0f ms, worst %.0f ms over %zu\n"
           "                        (medians: reader made %.0f ms, first picture and sound decoded %.0f, "
           "converted %.0f, open returns %.0f, drawn %.0f)\n",
           Ms(cold), Ms(open.median), Ms(open.worst), opens.size(), Ms(SpreadOf(readers).median),
           Ms(SpreadOf(decodes).median), Ms(SpreadOf(converts).median), Ms(SpreadOf(returns).median),
           Ms(SpreadOf(draws).median));

    // Targets inside the keyframe intervals, forward and back, one near the end.
    const std::vector<double> fractions = {0.39, 0.13, 0.83, 0.47, 0.19, 0.97, 0.61, 0.29};
    for (bool playing : {true, false}) {
        if (playing) player.play(0, 0);
        else player.pause();
        SeekFigures seeks;
        if (!TimeSeeks(player, fractions, playing, seeks)) {
            fprintf(stderr, "respond: the picture after a seek was never drawn\n");
            return 1;
        }
        const Spread seek = SpreadOf(seeks.waits);
        printf("seek to new picture     %-7s median %.0f ms, worst %.0f ms over %zu (a seek: %.1f pictures read "
               "in %.0f ms; %llu asked again further back)\n",
               playing ? "playing" : "paused", Ms(seek.median), Ms(seek.worst), seeks.waits.size(),
               static_cast<double>(seeks.pictures) / fractions.size(), Ms(seeks.readSeconds / fractions.size()),
               static_cast<unsigned long long>(seeks.retries));
    }
    player.close();
    Leave(0);
}

// Megabytes of the process's working set; 0 when it cannot be read.
double WorkingSetMb(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS m{};
    m.cb = sizeof(m);
    return process && GetProcessMemoryInfo(process, &m, sizeof(m)) ? m.WorkingSetSize / 1048576.0 : 0.0;
}

int Realtime(const char* path, double seconds, double speed, const char* subtitles)
{
    HWND hwnd = VideoWindow();
    if (!hwnd) return 1;
    avplayer player;
    player.set_speed(speed);
    player.subclasswindow(hwnd, 1);
    if (!player.open(path, 0, 2, 0, 0)) return 1;
    if (subtitles && player.set_subtitles(std::wstring(subtitles, subtitles + strlen(subtitles)).c_str()) != 1)
        fprintf(stderr, "realtime: the subtitles %s were not loaded\n", subtitles);
    const double started = avcore::NowSeconds();
    player.play(0, 0);
    const double end = started + seconds;
    while (avcore::NowSeconds() < end && player.play_status() == 1) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    const double played = player.curr_play_time();
    const double wall = avcore::NowSeconds() - started;
    const avcore::UniqueHandle decoder(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_READ, FALSE,
                                                   avplayer_probe::decoderProcessId(player)));
    const double playerMb = WorkingSetMb(GetCurrentProcess()), decoderMb = WorkingSetMb(decoder.get());
    const avplayer_probe::Counters c = avplayer_probe::counters(player);
    printf("realtime at %.2fx  %.1f s played in %.1f s: %llu presented (%llu of them over half a frame late), "
           "%llu dropped, %llu decoded, sound to %s, clock %s\n",
           player.speed(), played, wall, static_cast<unsigned long long>(c.presented), static_cast<unsigned long long>(c.shownLate),
           static_cast<unsigned long long>(c.dropped), static_cast<unsigned long long>(c.decoded),
           avplayer_probe::audioDevice(player) ? "waveOut" : "the null output",
           avplayer_probe::clockFollowsAudio(player) ? "following the sound output" : "on the system timer");
    const avplayer_probe::Timings t = avplayer_probe::timings(player);
    printf("  per picture, mean/worst:");
    PrintTally("read", t.videoRead);
    PrintTally("convert", t.convert);
    PrintTally("present", t.present);
    PrintTally("(sound chunk read", t.audioRead);
    printf(")\n  drawn against the clock: %+.1f ms mean, %.1f ms worst; dropped %llu by the decoder before conversion, "
           "%llu from the queue\n",
           Ms(t.lateness.meanSeconds()), Ms(t.lateness.worstSeconds),
           static_cast<unsigned long long>(t.droppedUnconverted),
           static_cast<unsigned long long>(c.dropped - t.droppedUnconverted));
    printf("  working set while playing: player %.0f MB, decoder process %.0f MB\n", playerMb, decoderMb);
    player.stop();
    player.close();
    Leave(0);
}

double ThreadCpuSeconds()
{
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) { return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) * 1e-7; };
    return seconds(kernel) + seconds(user);
}

// Sixty seconds of a two-tone 48 kHz stereo signal through the stretch, fed and pulled
// in the audio thread's 10 ms and 25 ms pieces.
int Stretch()
{
    constexpr int kRate = 48000, kChannels = 2, kSeconds = 60;
    std::vector<int16_t> in(static_cast<size_t>(kRate) * kSeconds * kChannels);
    for (size_t i = 0; i < in.size() / kChannels; ++i) {
        const double t = static_cast<double>(i) / kRate;
        in[i * 2] = static_cast<int16_t>(6000 * std::sin(2 * 3.14159265 * 440 * t) + 3000 * std::sin(2 * 3.14159265 * 1234 * t));
        in[i * 2 + 1] = static_cast<int16_t>(6000 * std::sin(2 * 3.14159265 * 660 * t));
    }
    std::vector<int16_t> block(1200 * kChannels);
    for (double speed : {0.5, 1.0, 1.5, 2.0}) {
        avcore::TimeStretch ts(kRate, kChannels);
        ts.setSpeed(speed);
        size_t out = 0;
        const double cpu = ThreadCpuSeconds(), wall = avcore::NowSeconds();
        for (size_t at = 0; at < in.size() / kChannels; at += 480) {
            ts.push(in.data() + at * kChannels, std::min<size_t>(480, in.size() / kChannels - at));
            while (size_t n = ts.pull(block.data(), 1200)) out += n;
        }
        const double used = ThreadCpuSeconds() - cpu, took = avcore::NowSeconds() - wall;
        const double played = static_cast<double>(out) / kRate;  // what the device plays, in seconds
        const double cost = used > 0.0 ? used : took;  // a system that does not count thread time: the wall
        printf("time-stretch %.2fx  48 kHz stereo: %.3f %% of one core while playing (CPU %.3f s, wall %.3f s for "
               "%.1f s of sound); adds %.1f ms (target <= 3 %%, <= 30 ms)\n",
               speed, 100.0 * cost / played, used, took, played,
               1e3 * ts.latencyFrames() / kRate);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::string(argv[1]) == "decode") return Decode(argv[2]);
    if (argc >= 5 && std::string(argv[1]) == "pipeline") return Pipeline(argv[2], atoi(argv[3]), atoi(argv[4]));
    if (argc >= 4 && std::string(argv[1]) == "realtime")
        return Realtime(argv[2], atof(argv[3]), argc >= 5 ? atof(argv[4]) : 1.0, argc >= 6 ? argv[5] : nullptr);
    if (argc >= 2 && std::string(argv[1]) == "stretch") return Stretch();
    if (argc >= 4 && std::string(argv[1]) == "respond") return Respond(argv[2], std::max(2, atoi(argv[3])));
    fprintf(stderr, "usage: bench_avcore decode FILE | pipeline FILE SHAPE EFFECT | realtime FILE SECONDS [SPEED [SUBTITLES]] | "
                    "respond FILE RUNS | stretch\n");
    return 2;
}
