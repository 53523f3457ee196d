// The conversion stage between the decoder and the picture queue: pictures come out
// converted, in order, and none is lost at a flush (end of file) or at a stop.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "avcore/convert_stage.h"
#include "avcore/win_handle.h"

namespace {

using namespace avcore;

constexpr int kW = 64, kH = 32;

// A packed NV12 picture of one grey level (U = V = 128).
VideoSample GreySample(uint8_t luma, double pts, int w = kW, int h = kH)
{
    auto buffer = std::make_shared<std::vector<uint8_t>>(static_cast<size_t>(w) * h * 3 / 2, uint8_t{128});
    memset(buffer->data(), luma, static_cast<size_t>(w) * h);
    VideoSample s;
    s.planes = {buffer->data(), w, buffer->data() + static_cast<size_t>(w) * h, nullptr, w};
    s.hold = buffer;
    s.pts = pts;
    s.duration = 0.04;
    return s;
}

VideoFormat GreyFormat()
{
    VideoFormat f;
    f.codedWidth = f.cropWidth = kW;
    f.codedHeight = f.cropHeight = kH;
    return f;
}

struct Received {
    std::mutex lock;
    std::vector<double> pts;
    std::vector<uint8_t> blue;  // first pixel's blue byte
    std::vector<uint64_t> generations;
};

ConvertStage::Deliver Collect(Received& r)
{
    return [&r](FramePtr frame, uint64_t generation) {
        std::lock_guard<std::mutex> lock(r.lock);
        r.pts.push_back(frame ? frame->pts : -1.0);
        r.blue.push_back(frame ? frame->bgra[0] : 0);
        r.generations.push_back(generation);
    };
}

TEST(ConvertStage, DeliversEveryPictureInOrderBeforeAFlushOrAStopReturns)
{
    auto pool = std::make_shared<FramePool>();
    Received r;
    {
        ConvertStage stage(pool, 0, 15);  // inverted colours: 16 -> 255 - 0, 235 -> 255 - 255
        ASSERT_TRUE(stage.start(Collect(r)));
        for (int i = 0; i < 20; ++i) stage.submit(GreySample(i % 2 ? 235 : 16, i * 0.04), GreyFormat(), 7);
        stage.flush();  // what the decoder does at the end of the file
        ASSERT_EQ(r.pts.size(), 20u);
        for (int i = 0; i < 20; ++i) {
            EXPECT_NEAR(r.pts[i], i * 0.04, 1e-9);
            EXPECT_EQ(r.blue[i], i % 2 ? 0 : 255) << i;
            EXPECT_EQ(r.generations[i], 7u);
        }
        // A picture converted on the caller's thread (a seek target) waits for the one in flight.
        stage.submit(GreySample(16, 1.0), GreyFormat(), 8);
        const FramePtr now = stage.convertNow(GreySample(235, 2.0), GreyFormat(), 9);
        ASSERT_TRUE(now);
        EXPECT_EQ(now->bgra[0], 0);
        EXPECT_EQ(r.pts.size(), 21u);
        // The picture in flight at a stop still arrives; one handed over after it is ignored.
        stage.submit(GreySample(16, 3.0), GreyFormat(), 10);
        stage.stop();
        EXPECT_EQ(r.pts.size(), 22u);
        stage.submit(GreySample(16, 4.0), GreyFormat(), 11);
        stage.flush();
    }
    EXPECT_EQ(r.pts.size(), 22u);
    EXPECT_NEAR(r.pts.back(), 3.0, 1e-9);
}

TEST(ConvertStage, AnUnreadablePictureArrivesAsNothing)
{
    auto pool = std::make_shared<FramePool>();
    Received r;
    ConvertStage stage(pool, 0, 0);
    ASSERT_TRUE(stage.start(Collect(r)));
    VideoSample empty;  // no picture at all
    stage.submit(std::move(empty), GreyFormat(), 1);
    stage.submit(GreySample(128, 0.5), GreyFormat(), 1);
    // Readable, but wider than the converter takes: no recycled buffer stands in for it.
    VideoFormat wide = GreyFormat();
    wide.codedWidth = wide.cropWidth = 17000;
    wide.codedHeight = wide.cropHeight = 2;
    stage.submit(GreySample(16, 1.0, 17000, 2), wide, 1);
    stage.flush();
    ASSERT_EQ(r.pts.size(), 3u);
    EXPECT_EQ(r.pts[0], -1.0);
    EXPECT_NEAR(r.pts[1], 0.5, 1e-9);
    EXPECT_EQ(r.pts[2], -1.0);
}

} // namespace
