// The filtered resize against ffmpeg's scalers, on the stills run_scale_quality.sh makes:
// shrinking a 1080p picture into the window against `area`, enlarging 360p twice against
// `bicubic`. Nearest-pixel picking scores about 34 and 39 dB here.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "avcore/effects/picture_scaler.h"

namespace {

// A raw file of the stills folder, planes one after another; empty when missing.
std::vector<uint8_t> ReadStill(const std::string& name, size_t planeBytes, int planes)
{
    const char* dir = std::getenv("MORVANE_STILLS");
    std::vector<uint8_t> data(planeBytes * planes);
    FILE* f = dir ? std::fopen((std::string(dir) + "/" + name + ".raw").c_str(), "rb") : nullptr;
    if (!f) return {};
    const bool whole = std::fread(data.data(), 1, data.size(), f) == data.size();
    std::fclose(f);
    return whole ? data : std::vector<uint8_t>{};
}

// ffmpeg's planar order G, B, R; a grey still is one plane serving all three.
constexpr int kPlaneChannel[3] = {1, 0, 2};

TEST(ScaleQuality, CloseToFfmpegShrinkingAndEnlarging)
{
    if (!std::getenv("MORVANE_STILLS")) GTEST_SKIP() << "run through run_scale_quality.sh, which makes the stills";
    struct Case {
        const char* still;
        int sw, sh, dw, dh;
        const char* scaler;
        double floorDb;
    };
    const Case cases[] = {
        {"grey", 1920, 1080, 625, 352, "area", 40}, {"colour", 1920, 1080, 625, 352, "area", 40},
        {"grey", 640, 360, 1280, 720, "bicubic", 42}, {"colour", 640, 360, 1280, 720, "bicubic", 42},
    };
    for (const Case& c : cases) {
        const std::string source = std::string(c.still) + "-" + std::to_string(c.sw) + "x" + std::to_string(c.sh);
        const std::string target = source + "-" + std::to_string(c.dw) + "x" + std::to_string(c.dh) + "-" + c.scaler;
        SCOPED_TRACE(target);
        const int planes = std::string(c.still) == "grey" ? 1 : 3;
        const size_t srcPlane = static_cast<size_t>(c.sw) * c.sh, dstPlane = static_cast<size_t>(c.dw) * c.dh;
        const std::vector<uint8_t> still = ReadStill(source, srcPlane, planes);
        const std::vector<uint8_t> ffmpeg = ReadStill(target, dstPlane, planes);
        ASSERT_FALSE(still.empty() || ffmpeg.empty()) << "a still is missing";
        std::vector<uint8_t> bgra(srcPlane * 4, 255), out(dstPlane * 4);
        for (int ch = 0; ch < 3; ++ch)
            for (size_t i = 0; i < srcPlane; ++i)
                bgra[4 * i + kPlaneChannel[ch]] = still[(planes == 1 ? 0 : ch) * srcPlane + i];
        avfx::PictureScaler scaler;
        ASSERT_TRUE(scaler.scale(bgra.data(), c.sw, c.sh, c.sw * 4, out.data(), c.dw, c.dh, c.dw * 4));
        double squares = 0;
        for (int p = 0; p < planes; ++p)
            for (size_t i = 0; i < dstPlane; ++i) {
                const double d = out[4 * i + kPlaneChannel[p]] - ffmpeg[p * dstPlane + i];
                squares += d * d;
            }
        const double psnr = 10 * std::log10(255.0 * 255.0 / std::max(squares / (dstPlane * planes), 1e-10));
        RecordProperty(target + "-dB", std::to_string(psnr));
        std::printf("%s: %.2f dB\n", target.c_str(), psnr);
        EXPECT_GE(psnr, c.floorDb);
    }
}

} // namespace
