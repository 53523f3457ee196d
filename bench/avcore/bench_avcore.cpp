// Engine throughput and real-time playback.
//   bench_avcore decode   FILE          Source Reader alone: NV12 pictures read per second
//   bench_avcore pipeline FILE SHAPE FX  the engine's decode -> convert -> effect path, per second
//   bench_avcore realtime FILE SECONDS   plays in a 1280x720 window: pictures shown and dropped
#include <windows.h>
#include <mfapi.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "avcore/avplayer.h"
#include "avcore/avplayer_probe.h"
#include "avcore/convert_stage.h"
#include "avcore/frame_pool.h"
#include "avcore/media_source.h"
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
    avcore::MediaThreadScope scope(true);
    avcore::MediaSource source;
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

int Realtime(const char* path, double seconds)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MorvaneBench";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"bench", WS_POPUP | WS_VISIBLE, 0, 0, 1280, 720, nullptr,
                                nullptr, wc.hInstance, nullptr);
    avplayer player;
    player.subclasswindow(hwnd, 1);
    if (!player.open(path, 0, 2, 0, 0)) return 1;
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
    const avplayer_probe::Counters c = avplayer_probe::counters(player);
    printf("realtime          %.1f s played in %.1f s: %llu presented (%llu of them over half a frame late), "
           "%llu dropped, %llu decoded, sound to %s, clock %s\n",
           played, wall, static_cast<unsigned long long>(c.presented), static_cast<unsigned long long>(c.shownLate),
           static_cast<unsigned long long>(c.dropped), static_cast<unsigned long long>(c.decoded),
           avplayer_probe::audioDevice(player) ? "waveOut" : "the null output",
           avplayer_probe::clockFollowsAudio(player) ? "following the sound output" : "on the system timer");
    player.stop();
    player.close();
    // Exit without destroying the window: Wine needs two seconds for that without a window manager.
    fflush(stdout);
    ExitProcess(0);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::string(argv[1]) == "decode") return Decode(argv[2]);
    if (argc >= 5 && std::string(argv[1]) == "pipeline") return Pipeline(argv[2], atoi(argv[3]), atoi(argv[4]));
    if (argc >= 4 && std::string(argv[1]) == "realtime") return Realtime(argv[2], atof(argv[3]));
    fprintf(stderr, "usage: bench_avcore decode FILE | pipeline FILE SHAPE EFFECT | realtime FILE SECONDS\n");
    return 2;
}
