// Times the fused YUV->BGRA conversion with each effect, one thread, per frame.
// Usage: bench_effects [frames.nv12 width height] [--quick] [--baseline] [--dump DIR]
// Without a file it uses a generated 1080p picture. Prints per effect: code, shape, best and
// median wall time per frame, mean thread CPU time per frame, configure() time, name.
// --baseline keeps to the SSE2 kernels; --dump also writes each effect's first frame as DIR/<name>.ppm.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

#include "avcore/effects/frame_pipeline.h"
#include "avcore/effects/row_kernels.h"

namespace {

struct Case {
    int shape;
    int code;
    const char* name;
};

constexpr Case kCases[] = {
    {0, 0, "plain"},          {0, 1, "classic"},        {0, 2, "purple-haze"},
    {0, 3, "nostalgia"},      {0, 4, "rock"},           {0, 5, "gothic"},
    {0, 6, "hdr"},            {0, 7, "80s"},            {0, 8, "retro"},
    {0, 9, "paris"},          {0, 10, "black-white"},   {0, 11, "impression"},
    {0, 12, "film"},          {0, 13, "deep-blue-rain"}, {0, 14, "yellowed-vignette"},
    {0, 15, "inverted"},      {0, 257, "flame"},        {0, 258, "ice"},
    {0, 513, "texture1"},     {0, 514, "texture2"},     {0, 515, "texture3"},
    {0, 516, "texture4"},     {0, 517, "texture5"},     {0, 518, "texture6"},
    {0, 519, "texture7"},     {0, 520, "texture8"},     {0, 521, "texture9"},
    {0, 522, "texture10"},    {1, 0, "ellipse"},        {2, 0, "drop"},
    {2, 258, "drop+ice"},     {1, 10, "ellipse+bw"},
};

// A moving test card: gradients, colour bars and noise, so no kernel sees flat input.
std::vector<uint8_t> makeFrames(int w, int h, int count)
{
    const size_t frame = static_cast<size_t>(w) * h + static_cast<size_t>((w + 1) / 2) * 2 * ((h + 1) / 2);
    std::vector<uint8_t> out(frame * count);
    uint32_t seed = 1;
    for (int f = 0; f < count; ++f) {
        uint8_t* y = out.data() + frame * f;
        uint8_t* uv = y + static_cast<size_t>(w) * h;
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) {
                seed = seed * 1664525u + 1013904223u;
                y[static_cast<size_t>(j) * w + i] =
                    static_cast<uint8_t>(16 + ((i + j + f * 7) * 219 / (w + h)) % 220 + (seed >> 29));
            }
        const int cw = (w + 1) / 2;
        for (int j = 0; j < (h + 1) / 2; ++j)
            for (int i = 0; i < cw; ++i) {
                uv[static_cast<size_t>(j) * cw * 2 + 2 * i] = static_cast<uint8_t>(16 + (i * 8 * 224 / cw + f) % 225);
                uv[static_cast<size_t>(j) * cw * 2 + 2 * i + 1] = static_cast<uint8_t>(16 + (j * 5 * 224 / h) % 225);
            }
    }
    return out;
}

// CPU time of this thread in ms: unlike wall time, not inflated when other
// processes take the core, so it compares with ffmpeg's user time.
double threadCpuMs()
{
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user))
        return 0;
    auto ms = [](const FILETIME& t) {
        return ((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

void writePpm(const std::string& path, const std::vector<uint8_t>& bgra, int w, int h)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return;
    std::fprintf(f, "P6\n%d %d\n255\n", w, h);
    std::vector<uint8_t> rgb(static_cast<size_t>(w) * 3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c)
                rgb[static_cast<size_t>(x) * 3 + c] = bgra[(static_cast<size_t>(y) * w + x) * 4 + 2 - c];
        std::fwrite(rgb.data(), 1, rgb.size(), f);
    }
    std::fclose(f);
}

} // namespace

int main(int argc, char** argv)
{
    int w = 1920, h = 1080;
    bool quick = false;
    std::string dumpDir;
    bool baseline = false;
    std::vector<uint8_t> frames;
    int count = 0;
    const size_t frameBytes = [&] {
        for (int i = 1; i < argc; ++i)
            if (std::strcmp(argv[i], "--quick") == 0)
                quick = true;
            else if (std::strcmp(argv[i], "--baseline") == 0)
                baseline = true;
            else if (std::strcmp(argv[i], "--dump") == 0 && i + 1 < argc)
                dumpDir = argv[++i];
        if (argc >= 4 && argv[1][0] != '-') {
            w = std::atoi(argv[2]);
            h = std::atoi(argv[3]);
        }
        return static_cast<size_t>(w) * h + static_cast<size_t>((w + 1) / 2) * 2 * ((h + 1) / 2);
    }();
    if (argc >= 4 && argv[1][0] != '-') {
        if (FILE* f = std::fopen(argv[1], "rb")) {
            std::vector<uint8_t> buf(frameBytes);
            while (count < 16 && std::fread(buf.data(), 1, frameBytes, f) == frameBytes) {
                frames.insert(frames.end(), buf.begin(), buf.end());
                ++count;
            }
            std::fclose(f);
        }
        if (count == 0) {
            std::fprintf(stderr, "cannot read frames from %s\n", argv[1]);
            return 1;
        }
    } else {
        count = 4;
        frames = makeFrames(w, h, count);
    }

    avfx::detail::allowWideKernels(!baseline);
    std::vector<uint8_t> dst(static_cast<size_t>(w) * h * 4);
    const int reps = quick ? 30 : 400;
    std::printf("# %dx%d NV12 -> BGRA, one thread, %s kernels, best and median of %d frames, ms\n", w, h,
                avfx::detail::wideKernelsAvailable() && !baseline ? "AVX2" : "SSE2",
                reps);
    std::printf("# %-6s %-5s %-8s %-8s %-8s %-8s %s\n", "code", "shape", "best", "median", "cpu", "setup", "name");
    for (const Case& c : kCases) {
        avfx::FramePipeline pipe;
        const auto s0 = std::chrono::steady_clock::now();
        pipe.configure(w, h, c.shape, c.code, avfx::ColorMatrix::BT709);
        const double setup = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - s0).count();
        std::vector<double> ms;
        double cpu0 = 0;
        for (int r = -5; r < reps; ++r) {
            if (r == 0)
                cpu0 = threadCpuMs();
            const uint8_t* y = frames.data() + frameBytes * ((r + 5) % count);
            const avfx::PlaneView src{y, w, y + static_cast<size_t>(w) * h, nullptr, ((w + 1) / 2) * 2};
            const auto t0 = std::chrono::steady_clock::now();
            pipe.process(src, avfx::PixelLayout::NV12, dst.data(), w * 4);
            const auto t1 = std::chrono::steady_clock::now();
            if (r >= 0)
                ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        }
        const double cpu = (threadCpuMs() - cpu0) / reps;
        if (!dumpDir.empty()) {
            const avfx::PlaneView first{frames.data(), w, frames.data() + static_cast<size_t>(w) * h, nullptr,
                                        ((w + 1) / 2) * 2};
            pipe.process(first, avfx::PixelLayout::NV12, dst.data(), w * 4);
            writePpm(dumpDir + "/" + c.name + ".ppm", dst, w, h);
        }
        std::sort(ms.begin(), ms.end());
        std::printf("%-8d %-5d %-8.3f %-8.3f %-8.3f %-8.2f %s\n", c.code, c.shape, ms.front(), ms[ms.size() / 2],
                    cpu, setup, c.name);
        std::fflush(stdout);
    }
    return 0;
}
