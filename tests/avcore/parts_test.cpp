// The engine's parts on their own: buffer layouts, the decoder process's slots and
// rights, the conversion stage, the volume taper and the clock.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <thread>
#include <tuple>
#include <vector>

#include "avcore/audio_gain.h"
#include "avcore/container_check.h"
#include "avcore/convert_stage.h"
#include "avcore/decoder_process.h"
#include "avcore/decoder_protocol.h"
#include "avcore/decoder_token.h"
#include "avcore/playback_clock.h"
#include "avcore/video_planes.h"
#include "avcore/wave_release.h"
#include "avcore/win_handle.h"

namespace {

using namespace avcore;

VideoFormat Format(int w, int h, avfx::PixelLayout layout = avfx::PixelLayout::NV12, int stride = 0)
{
    VideoFormat f;
    f.codedWidth = f.cropWidth = w;
    f.codedHeight = f.cropHeight = h;
    f.defaultStride = stride;
    f.layout = layout;
    return f;
}

TEST(PlaneGeometry, ReadsStrideAndPlaneHeightFromTheBufferLength)
{
    // Packed 1080p as Wine's decoder delivers it.
    PlaneGeometry g = InferPlaneGeometry(Format(1920, 1080), 1920 * 1080 * 3 / 2, 0);
    EXPECT_EQ(g.stride, 1920);
    EXPECT_EQ(g.planeHeight, 1080);
    // An odd width padded to 320 without a stride attribute (318 x 178 seen under Wine).
    g = InferPlaneGeometry(Format(318, 178), 320 * 178 * 3 / 2, 0);
    EXPECT_EQ(g.stride, 320);
    EXPECT_EQ(g.planeHeight, 178);
    // Coded height padded to a macroblock: chroma starts after 1088 rows, not 1080.
    g = InferPlaneGeometry(Format(1920, 1080), 1920 * 1088 * 3 / 2, 0);
    EXPECT_EQ(g.stride, 1920);
    EXPECT_EQ(g.planeHeight, 1088);
    // A stride hint and a 2D pitch win over guessing.
    g = InferPlaneGeometry(Format(1280, 720, avfx::PixelLayout::NV12, 1536), 1536 * 720 * 3 / 2, 0);
    EXPECT_EQ(g.stride, 1536);
    g = InferPlaneGeometry(Format(1280, 720), 2048 * 720 * 3 / 2, 2048);
    EXPECT_EQ(g.stride, 2048);
    EXPECT_EQ(g.planeHeight, 720);
    // Too short for the picture: refused rather than read past the end.
    EXPECT_FALSE(InferPlaneGeometry(Format(640, 480), 640 * 480, 0).valid());
    EXPECT_FALSE(InferPlaneGeometry(Format(640, 480), 0, 0).valid());
}

TEST(PlaneGeometry, APitchedLockIsUsedOnlyWhenEveryRowLiesInsideTheBuffer)
{
    const size_t nv12 = 2048 * 720 * 3 / 2;  // 1280 x 720 rows 2048 apart
    struct Case { int pitch; size_t packed, available; int planeHeight; } cases[] = {
        {2048, 1280 * 720 * 3 / 2, nv12, 720},
        {2048, 1280 * 736 * 3 / 2, 2048 * 736 * 3 / 2, 736},  // padded rows told by the packed length
        {2048, 0, nv12, 720},
        {2048, 1280 * 720 * 3 / 2, nv12 - 1, 0},              // the last chroma byte is missing
        {2048, 1280 * 736 * 3 / 2, nv12, 0},                  // packed length claims rows the lock lacks
        {1024, 0, nv12, 0},                                   // a pitch shorter than a row
        {0, 0, nv12, 0},
    };
    for (const Case& c : cases) {
        const PlaneGeometry g = PitchedGeometry(Format(1280, 720), c.pitch, c.packed, c.available);
        EXPECT_EQ(g.planeHeight, c.planeHeight) << c.pitch << " " << c.packed << " " << c.available;
    }
}

// The decoder process the engine reads files in: the player's rights are not its
// rights, and what it says about a picture is checked before the player reads a slot.
TEST(DecoderProtocol, ASlotHoldsTheVisibleRectangleOnWholeRows)
{
    struct Case {
        const char* name;
        VideoFormat decoded;
        int stride, width, height;
    };
    VideoFormat cropped = Format(1920, 1088);
    cropped.cropX = 8;
    cropped.cropY = 4;
    cropped.cropHeight = 1080;
    VideoFormat odd = Format(1281, 721);
    odd.layout = avfx::PixelLayout::I420;
    const Case cases[] = {
        {"1080p", Format(1920, 1080), 1920, 1920, 1080},
        {"cropped: only what is shown", cropped, 1920, 1920, 1080},
        {"odd sizes: chroma rows round up", odd, 1344, 1281, 721},
        {"narrow", Format(2, 2), 64, 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const VideoFormat slot = decoder::SlotFormat(c.decoded);
        EXPECT_EQ(slot.defaultStride, c.stride);
        EXPECT_EQ(slot.cropWidth, c.width);
        EXPECT_EQ(slot.cropHeight, c.height);
        EXPECT_EQ(slot.cropX + slot.cropY, 0);
        EXPECT_EQ(slot.layout, c.decoded.layout);
        EXPECT_TRUE(decoder::SlotFormatFits(slot, decoder::SlotBytes(slot)));
        EXPECT_FALSE(decoder::SlotFormatFits(slot, decoder::SlotBytes(slot) - 1));
    }
}

TEST(DecoderProtocol, AFormatFromTheDecoderThatWouldReadPastItsSlotIsRefused)
{
    const VideoFormat good = decoder::SlotFormat(Format(1920, 1080));
    const size_t room = decoder::SlotBytes(good);
    struct Case {
        const char* name;
        void (*spoil)(VideoFormat&);
    };
    const Case cases[] = {
        {"rows shorter than the picture", [](VideoFormat& f) { f.defaultStride = 1918; }},
        {"odd row length", [](VideoFormat& f) { f.defaultStride = 1921; }},
        {"no rows at all", [](VideoFormat& f) { f.defaultStride = 0; }},
        {"taller than the slot", [](VideoFormat& f) { f.codedHeight = f.cropHeight = 1200; }},
        {"wider than the slot", [](VideoFormat& f) { f.codedWidth = f.cropWidth = f.defaultStride = 2048; }},
        {"negative size", [](VideoFormat& f) { f.codedWidth = f.cropWidth = -64; }},
        {"a crop origin", [](VideoFormat& f) { f.cropY = 2; }},
        {"coded and shown sizes differ", [](VideoFormat& f) { f.codedHeight = 1088; }},
        {"an unknown pixel layout", [](VideoFormat& f) { f.layout = static_cast<avfx::PixelLayout>(7); }},
        {"an unknown colour matrix", [](VideoFormat& f) { f.matrix = static_cast<avfx::ColorMatrix>(-1); }},
        {"beyond the converter's size", [](VideoFormat& f) { f.codedWidth = f.cropWidth = 16400; }},
    };
    EXPECT_TRUE(decoder::SlotFormatFits(good, room));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VideoFormat f = good;
        c.spoil(f);
        EXPECT_FALSE(decoder::SlotFormatFits(f, room));
    }
}

constexpr DWORD kStartMs = 20000;  // a fresh process on a loaded machine, warm-up included

TEST(DecoderProcess, ItsTokenHasNoAdministratorsRightsNoPrivilegesAndAsksForLowIntegrity)
{
    auto process = DecoderProcess::Start(nullptr);
    ASSERT_TRUE(process);
    ASSERT_TRUE(process->waitReady(kStartMs));
    // Read by GetTokenInformation in the decoder, on its own token.
    const decoder::Identity child = process->identity();
    const UniqueHandle made = MakeDecoderToken();
    ASSERT_TRUE(made) << "no reduced token could be made";
    const decoder::Identity asked = DescribeToken(made.get());
    RecordProperty("integrity_rid", static_cast<int>(child.integrityRid));
    RecordProperty("privileges", static_cast<int>(child.privileges));

    EXPECT_EQ(child.adminsDenyOnly, 1u) << "the Administrators group can still grant the decoder access";
    // The decoder runs with the token the player made for it, privileges and all.
    EXPECT_EQ(child.privileges, asked.privileges);
    EXPECT_EQ(child.integrityRid, asked.integrityRid);
    if (asked.integrityRid != SECURITY_MANDATORY_LOW_RID)
        GTEST_SKIP() << "this platform keeps no integrity level in a token (Wine stubs TokenIntegrityLevel): "
                     << "the low level the token asks for cannot be read back";
    EXPECT_EQ(child.integrityRid, static_cast<uint32_t>(SECURITY_MANDATORY_LOW_RID));
    EXPECT_LE(child.privileges, 1u) << "only the bypass of traverse checking is kept";
}

// The conversion stage between the decoder and the picture queue: pictures come out
// converted, in order, and none is lost at a flush (end of file) or at a stop.
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
        for (int i = 0; i < 20; ++i) stage.submit(GreySample(i % 2 ? 235 : 16, i * 0.04), Format(kW, kH), 7);
        stage.flush();  // what the decoder does at the end of the file
        ASSERT_EQ(r.pts.size(), 20u);
        for (int i = 0; i < 20; ++i) {
            EXPECT_NEAR(r.pts[i], i * 0.04, 1e-9);
            EXPECT_EQ(r.blue[i], i % 2 ? 0 : 255) << i;
            EXPECT_EQ(r.generations[i], 7u);
        }
        // A picture converted on the caller's thread (a seek target) waits for the one in flight.
        stage.submit(GreySample(16, 1.0), Format(kW, kH), 8);
        const FramePtr now = stage.convertNow(GreySample(235, 2.0), Format(kW, kH), 9);
        ASSERT_TRUE(now);
        EXPECT_EQ(now->bgra[0], 0);
        EXPECT_EQ(r.pts.size(), 21u);
        // The picture in flight at a stop still arrives; one handed over after it is ignored.
        stage.submit(GreySample(16, 3.0), Format(kW, kH), 10);
        stage.stop();
        EXPECT_EQ(r.pts.size(), 22u);
        stage.submit(GreySample(16, 4.0), Format(kW, kH), 11);
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
    stage.submit(std::move(empty), Format(kW, kH), 1);
    stage.submit(GreySample(128, 0.5), Format(kW, kH), 1);
    // Readable, but wider than the converter takes: no recycled buffer stands in for it.
    stage.submit(GreySample(16, 1.0, 17000, 2), Format(17000, 2), 1);
    stage.flush();
    ASSERT_EQ(r.pts.size(), 3u);
    EXPECT_EQ(r.pts[0], -1.0);
    EXPECT_NEAR(r.pts[1], 0.5, 1e-9);
    EXPECT_EQ(r.pts[2], -1.0);
}

// A driver whose reset gives back all blocks, gives one back late, or keeps one.
struct FakeDriver {
    enum Mode { Prompt, Late, Keeps } mode = Prompt;
    WAVEHDR blocks[3]{};
    HANDLE event = nullptr;
    bool eventOpenAtClose = false;
    int unpreparedWhileQueued = 0;
    std::thread late;
};
FakeDriver* g_driver = nullptr;

MMRESULT WINAPI FakeReset(HWAVEOUT)
{
    FakeDriver& d = *g_driver;
    for (int i = 0; i < 3; ++i)
        if (i > 0 || d.mode == FakeDriver::Prompt) d.blocks[i].dwFlags |= WHDR_DONE;
    if (d.mode == FakeDriver::Late)
        d.late = std::thread([&d] { Sleep(30); InterlockedOr(reinterpret_cast<LONG*>(&d.blocks[0].dwFlags), WHDR_DONE); });
    return MMSYSERR_NOERROR;
}
MMRESULT WINAPI FakeUnprepare(HWAVEOUT, LPWAVEHDR h, UINT)
{
    if (!(h->dwFlags & WHDR_DONE)) return ++g_driver->unpreparedWhileQueued, WAVERR_STILLPLAYING;
    h->dwFlags &= ~WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}
MMRESULT WINAPI FakeClose(HWAVEOUT)
{
    FakeDriver& d = *g_driver;
    DWORD flags = 0;
    d.eventOpenAtClose = GetHandleInformation(d.event, &flags) != 0;
    return d.blocks[0].dwFlags & WHDR_DONE ? MMSYSERR_NOERROR : WAVERR_STILLPLAYING;
}

TEST(WaveRelease, TheDeviceClosesBeforeItsEventAndQueuedBlocksAreNeverGivenUp)
{
    for (FakeDriver::Mode mode : {FakeDriver::Prompt, FakeDriver::Late, FakeDriver::Keeps}) {
        SCOPED_TRACE(mode);
        FakeDriver d;
        d.mode = mode;
        g_driver = &d;
        WAVEHDR* headers[3];
        for (int i = 0; i < 3; ++i) {
            d.blocks[i].dwFlags = WHDR_PREPARED | WHDR_INQUEUE;
            headers[i] = &d.blocks[i];
        }
        UniqueHandle event = MakeEvent(false);
        d.event = event.get();
        const bool freed = ReleaseWaveDevice(reinterpret_cast<HWAVEOUT>(1), std::move(event), headers, 3,
                                             {FakeReset, FakeUnprepare, FakeClose});
        if (d.late.joinable()) d.late.join();
        EXPECT_TRUE(d.eventOpenAtClose);
        EXPECT_EQ(freed, mode != FakeDriver::Keeps);
        EXPECT_EQ(d.unpreparedWhileQueued, mode == FakeDriver::Keeps ? 1 : 0);
        DWORD flags = 0;
        EXPECT_EQ(GetHandleInformation(d.event, &flags) != 0, !freed) << "the event lives on only with the blocks";
        if (!freed) CloseHandle(d.event);
    }
}

// IsoIndexPresent on a temporary file of boxes (type, declared size, bytes actually present).
bool IndexFound(std::initializer_list<std::tuple<const char*, uint64_t, size_t>> boxes)
{
    wchar_t dir[MAX_PATH], path[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    GetTempFileNameW(dir, L"iso", 0, path);
    FILE* f = _wfopen(path, L"wb");
    for (const auto& [type, size, present] : boxes) {
        std::vector<uint8_t> b(present, 0);
        const bool wide = size > 0xFFFFFFFFull;
        const uint32_t small = wide ? 1 : static_cast<uint32_t>(size);
        for (int i = 0; i < 4; ++i) b[i] = static_cast<uint8_t>(small >> (24 - 8 * i));
        memcpy(b.data() + 4, type, 4);
        for (int i = 0; wide && i < 8; ++i) b[8 + i] = static_cast<uint8_t>(size >> (56 - 8 * i));
        fwrite(b.data(), 1, b.size(), f);
    }
    fclose(f);
    const bool found = IsoIndexPresent(path);
    DeleteFileW(path);
    return found;
}

TEST(ContainerCheck, AnMp4WithoutItsIndexIsRefusedBeforeTheReaderSeesIt)
{
    EXPECT_TRUE(IndexFound({{"ftyp", 24, 24}, {"mdat", 40, 40}, {"moov", 16, 16}}));
    EXPECT_TRUE(IndexFound({{"ftyp", 24, 24}, {"moov", 100, 16}}));       // index first, data cut
    EXPECT_FALSE(IndexFound({{"ftyp", 24, 24}, {"mdat", 5000, 100}}));    // cut inside the data
    EXPECT_FALSE(IndexFound({{"ftyp", 24, 24}, {"mdat", 1ull << 33, 16}}));  // 64-bit size past the end
    EXPECT_FALSE(IndexFound({{"ftyp", 24, 24}, {"mdat", 0, 64}}));        // data to the end
    EXPECT_FALSE(IndexFound({{"ftyp", 24, 24}, {"junk", 3, 8}}));         // corrupt size
    EXPECT_TRUE(IndexFound({{"RIFF", 24, 24}}));                          // not ISO: the reader decides
}

TEST(Volume, CubicTaperFromSilenceToFullScale)
{
    const std::pair<double, float> ends[] = {{0, 0.0f}, {-5, 0.0f}, {std::nan(""), 0.0f}, {100, 1.0f}, {1000, 1.0f}};
    for (const auto& [volume, gain] : ends) EXPECT_EQ(VolumeToGain(volume), gain) << volume;
    EXPECT_NEAR(20 * std::log10(VolumeToGain(50)), -18.06, 0.01);
    EXPECT_NEAR(20 * std::log10(VolumeToGain(10)), -60.0, 0.01);
    for (int v = 1; v <= 100; ++v) EXPECT_GT(VolumeToGain(v), VolumeToGain(v - 1));

    int16_t stereo[] = {32767, -32768, 1000, -1000, 7, 7};
    ApplyGain(stereo, 3, 2, 0.5f, 0.0f);
    EXPECT_EQ(std::vector<int16_t>(stereo, stereo + 4), (std::vector<int16_t>{16384, 0, 500, 0}));
    int16_t full[] = {32767, -32768};
    ApplyGain(full, 2, 1, 1.0f, 1.0f);
    EXPECT_EQ(std::vector<int16_t>(full, full + 2), (std::vector<int16_t>{32767, -32768}));
}

TEST(Clock, HoldsRunsAndFollowsOnlyAPlausibleDevice)
{
    // Time is handed to the clock (nowAt), so nothing here depends on how fast this
    // thread runs.
    PlaybackClock c;
    c.hold(2.0);
    EXPECT_EQ(c.now(), 2.0);
    EXPECT_EQ(c.nowAt(NowSeconds() + 30.0), 2.0);  // held however long
    const double beforeStart = NowSeconds();
    c.setRunning(true);
    const double afterStart = NowSeconds();
    // Started between the two readings: 50 ms after the second, 50 ms on or a little more.
    const double t = c.nowAt(afterStart + 0.05);
    EXPECT_GT(t, 2.05 - 1e-9);
    EXPECT_LT(t, 2.05 + (afterStart - beforeStart) + 1e-9);
    c.setRunning(false);
    const double paused = c.now();
    EXPECT_EQ(c.nowAt(NowSeconds() + 30.0), paused);
    c.setRunning(true);

    // A device far behind pulls the clock back: the picture waits for the sound.
    double at = NowSeconds();
    c.offerAudio(c.nowAt(at) - 0.2, at);
    EXPECT_TRUE(c.followsAudio());
    EXPECT_NEAR(c.nowAt(at), paused - 0.2, 0.05);
    // A small lag is taken a quarter at a time.
    at = NowSeconds();
    double before = c.nowAt(at);
    c.offerAudio(before - 0.04, at);
    EXPECT_NEAR(c.nowAt(at), before - 0.01, 1e-9);
    // Running ahead is believed at real-time pace only: 5 ms a second at most.
    const double later = at + 1.0;
    before = c.nowAt(later);
    c.offerAudio(before + 0.04, later);
    EXPECT_NEAR(c.nowAt(later), before + 0.005, 1e-9);
    // A sink that swallows sound faster than it plays is not believed.
    at = NowSeconds();
    const double clock = c.nowAt(at);
    c.offerAudio(clock + 0.15, at);
    EXPECT_FALSE(c.followsAudio());
    EXPECT_NEAR(c.nowAt(at), clock, 1e-9);
}

} // namespace
