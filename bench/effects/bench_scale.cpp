// Times resizing one BGRA picture for the window, on one thread: the nearest-pixel resize
// the player used before beside the filtered one it uses now, with the widest kernels and
// with SSE2 alone. Prints per size pair and method: best and median wall time, mean thread
// CPU time per picture, in ms.
// Usage: bench_scale [--quick]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "avcore/effects/picture_scaler.h"
#include "avcore/effects/row_kernels.h"
#include "scale_nearest.h"

namespace {

double threadCpuMs()
{
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
    auto ms = [](const FILETIME& t) {
        return ((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

// Busy picture: fine lines, gradients and noise, so no path sees flat input.
std::vector<uint8_t> makePicture(int w, int h)
{
    std::vector<uint8_t> px(static_cast<size_t>(w) * h * 4);
    uint32_t seed = 1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1664525u + 1013904223u;
            uint8_t* p = &px[(static_cast<size_t>(y) * w + x) * 4];
            p[0] = static_cast<uint8_t>((x * 255 / w + (seed >> 28)) & 255);
            p[1] = static_cast<uint8_t>(((x + y) % 7 == 0) ? 240 : y * 255 / h);
            p[2] = static_cast<uint8_t>((x ^ y) & 255);
            p[3] = 255;
        }
    return px;
}

void report(const char* label, int reps, const std::function<void()>& once)
{
    for (int r = 0; r < 3; ++r) once();  // tables made, caches warm
    std::vector<double> ms;
    const double cpuStart = threadCpuMs();
    for (int r = 0; r < reps; ++r) {
        const auto t0 = std::chrono::steady_clock::now();
        once();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    const double cpu = (threadCpuMs() - cpuStart) / reps;
    std::sort(ms.begin(), ms.end());
    std::printf("  %-22s best %6.2f  median %6.2f  cpu %6.2f\n", label, ms.front(), ms[ms.size() / 2], cpu);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    const int reps = quick ? 10 : 100;
    struct Pair { int sw, sh, dw, dh; const char* what; };
    const Pair pairs[] = {
        {1920, 1080, 1280, 720, "1080p in a 720p window"},
        {640, 360, 1920, 1080, "360p full screen at 1080p"},
        {1920, 1080, 625, 352, "1080p in the 840x600 window"},
    };
    std::printf("# one BGRA picture resized on one thread, ms per picture (%d runs; aim: filtered under 2 ms)\n", reps);
    for (const Pair& p : pairs) {
        const std::vector<uint8_t> src = makePicture(p.sw, p.sh);
        std::vector<uint8_t> dst(static_cast<size_t>(p.dw) * p.dh * 4);
        std::printf("%dx%d -> %dx%d (%s)\n", p.sw, p.sh, p.dw, p.dh, p.what);
        std::vector<int> columns;
        report("nearest (before)", reps, [&] {
            avfx::ScaleNearest(src.data(), p.sw, p.sh, p.sw * 4, dst.data(), p.dw, p.dh, p.dw * 4, columns);
        });
        for (bool wide : {true, false}) {
            if (wide && !avfx::detail::wideKernelsAvailable()) continue;
            avfx::detail::allowWideKernels(wide);
            avfx::PictureScaler scaler;
            report(wide ? "filtered, AVX2" : "filtered, SSE2", reps, [&] {
                scaler.scale(src.data(), p.sw, p.sh, p.sw * 4, dst.data(), p.dw, p.dh, p.dw * 4);
            });
        }
        avfx::detail::allowWideKernels(true);
    }
    return 0;
}
