// The engine under a failing platform: a reader that hangs, answers with nothing or crashes
// its decoder process (avcore::ReaderFaultSeam), a sound device held in its driver. No call
// keeps the caller past its budget or waits for the device; a decoder stuck or dead is killed,
// nothing of it stays; a sound thread stuck in its driver gives back what it held once let go.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "avcore/avplayer_seams.h"
#include "avcore/call_budget.h"
#include "avcore/engine_seams.h"
#include "avcore/win_handle.h"
#include "player_steps.h"

namespace {

// Holds the sound device's calls while closed: a test opens and closes it, and sees
// how many calls it holds.
class DeviceGate {
public:
    DeviceGate() { Open(); }
    void Close() { ResetEvent(m_open.get()); }
    void Open() { SetEvent(m_open.get()); }
    int Held() const { return m_held.load(); }
    // A device call: waits while the gate is closed (a minute at most).
    void Pass()
    {
        ++m_held;
        WaitForSingleObject(m_open.get(), 60000);
        --m_held;
    }

private:
    avcore::UniqueHandle m_open = avcore::MakeEvent(true);
    std::atomic<int> m_held{0};
};

// A sound output that plays like the null one, each device call passing the gate.
class GatedOutput final : public avcore::AudioOutput {
public:
    GatedOutput(std::unique_ptr<avcore::AudioOutput> inner, std::shared_ptr<DeviceGate> gate)
        : m_inner(std::move(inner)), m_gate(std::move(gate)) {}

    bool isDevice() const override { return false; }
    const avcore::AudioFormat& format() const override { return m_inner->format(); }
    size_t blockFrames() const override { return m_inner->blockFrames(); }
    bool canWrite() const override { return m_inner->canWrite(); }
    bool write(const int16_t* s, size_t n) override { m_gate->Pass(); return m_inner->write(s, n); }
    uint64_t writtenFrames() const override { return m_inner->writtenFrames(); }
    uint64_t playedFrames() override { m_gate->Pass(); return m_inner->playedFrames(); }
    void pause() override { m_gate->Pass(); m_inner->pause(); }
    void resume() override { m_gate->Pass(); m_inner->resume(); }
    void reset() override { m_gate->Pass(); m_inner->reset(); }
    HANDLE wakeEvent() const override { return m_inner->wakeEvent(); }

private:
    std::unique_ptr<avcore::AudioOutput> m_inner;
    std::shared_ptr<DeviceGate> m_gate;
};

avcore::AudioOutputFactory GatedAudioOutput(std::shared_ptr<DeviceGate> gate)
{
    return [=](const avcore::AudioFormat& format) -> std::unique_ptr<avcore::AudioOutput> {
        auto inner = avcore::OpenNullOutput(format);
        return inner ? std::make_unique<GatedOutput>(std::move(inner), gate) : nullptr;
    };
}

using avcore::ReaderFault;
using testsupport::PumpUntil;

// A sound thread let go ends once its driver returns.
constexpr DWORD kLetGoEndsMs = 30000;
// A killed decoder's process ends and the warm one after it is up within this on a loaded
// machine; the pool's spawner is an engine thread too: counts are compared once it has settled.
constexpr DWORD kKilledDecoderGoneMs = 15000;

// How one call came back, from the engine's own count of its waits on its threads: each was
// answered or given up at the call's budget, so the call cannot outlast it (its time is reported).
using CallEnd = avcore::CallWaits;

class CallLog {
public:
    template <class Call>
    CallEnd operator()(Call&& call)
    {
        const avcore::CallWaits before = avcore::CallWaitsSoFar();
        const double start = avtest::Seconds();
        call();
        slowestSeconds = std::max(slowestSeconds, avtest::Seconds() - start);
        const avcore::CallWaits after = avcore::CallWaitsSoFar();
        return {after.answered - before.answered, after.gaveUp - before.gaveUp};
    }

    double slowestSeconds = 0;
};

// A call that only sets state or reads it waits for no thread, a hung reader's least of all.
testing::AssertionResult WaitedForNothing(const CallEnd& end)
{
    if (end.answered == 0 && end.gaveUp == 0) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "waited " << end.answered << " times for an answer, gave up "
                                       << end.gaveUp << " times";
}

// The first file opened in a process starts the decoder pool for good (its job, its
// warm process); a baseline is taken after that.
void WarmUpPlatform(HWND window)
{
    static bool warm = false;
    if (std::exchange(warm, true)) return;
    avplayer p;
    p.subclasswindow(window, 1);
    if (avtest::Open(p)) avtest::PlayUntilShown(p);
}

struct Baseline {
    explicit Baseline(HWND window) : settled(Settle(window)) {}

    // Declared first, so the counts below are taken once the platform is warm and the pool settled.
    const bool settled;
    const int threads = avcore::WorkerThread::running();
    const int sessions = avplayer_probe::liveSessions();
    const int pools = avplayer_probe::livePools();
    const int frames = avplayer_probe::liveFrames();

    std::string Describe() const
    {
        return "above the baseline: threads " + std::to_string(avcore::WorkerThread::running() - threads) +
               ", sessions " + std::to_string(avplayer_probe::liveSessions() - sessions) + ", pools " +
               std::to_string(avplayer_probe::livePools() - pools) + ", frames " +
               std::to_string(avplayer_probe::liveFrames() - frames);
    }

    static bool Settle(HWND window)
    {
        WarmUpPlatform(window);
        return avtest::WaitForReadyDecoder(kKilledDecoderGoneMs);
    }

    bool restored() const
    {
        return avplayer_probe::decoderPoolSettled() && avcore::WorkerThread::running() <= threads &&
               avplayer_probe::liveSessions() <= sessions &&
               avplayer_probe::livePools() <= pools && avplayer_probe::liveFrames() <= frames;
    }
};

struct OpenFault {
    const char* name;
    ReaderFault fault;
    int goodReads;
    bool opens;       // the first picture comes before the fault
    bool hangsOpen;   // the open waits for a reader that never answers
};

const OpenFault kFaults[] = {
    {"reader never built", ReaderFault::CreationHangs, 0, false, true},
    {"first read never returns", ReaderFault::ReadHangs, 0, false, true},
    {"empty samples from the start", ReaderFault::EmptyForever, 0, false, false},
    {"read hangs while playing", ReaderFault::ReadHangs, 6, true, false},
    {"empty samples while playing", ReaderFault::EmptyForever, 6, true, false},
    {"decoder crashes at the first read", ReaderFault::Crashes, 0, false, false},
    {"decoder crashes while playing", ReaderFault::Crashes, 6, true, false},
    {"decoder may not open the path: it reads the player's handle", ReaderFault::PathDenied, 0, true, false},
};

// Opens the clip `rounds` times under each fault, every call's waits counted; after each
// close the engine's threads and memory must be back to `base`, with no fault given up on.
void OpenUnderEveryFault(avtest::TestWindow& window, const Baseline& base, int rounds, CallLog& calls)
{
    {
        avtest::WindowedPlayer p(window);
        for (int round = 0; round < rounds; ++round) {
            for (const OpenFault& f : kFaults) {
                SCOPED_TRACE(f.name);
                avplayer_seams::install(p, {{f.fault, f.goodReads}, {}});
                InvalidateRect(window.hwnd(), nullptr, TRUE);
                const int paints = window.paints;
                bool opened = false;
                const int lost = avplayer_probe::decodersLost();
                const CallEnd open = calls([&] { opened = avtest::Open(p); });
                // The open comes back with the reader's answer or by giving up at its budget. A reader
                // that never answers is killed, still hung, once: when the open gives up on it or, on a
                // busy machine, when the decode thread's own wait for it, a moment behind, ends first.
                EXPECT_GT(open.answered + open.gaveUp, 0);
                EXPECT_TRUE(!f.hangsOpen || avplayer_probe::decodersLost() == lost + 1)
                    << "killed " << avplayer_probe::decodersLost() - lost << " times; " << open.answered
                    << " answered, " << open.gaveUp << " given up";
                EXPECT_EQ(opened != 0, f.opens);
                // The wait kept the window painted; nothing else dispatched in between.
                EXPECT_GT(window.paints, paints);
                if (opened) {
                    EXPECT_TRUE(WaitedForNothing(calls([&] { p.play(0, 0); }))) << "play";
                    PumpUntil([&] { return p.curr_play_time() > 0.1; }, 500);
                    EXPECT_TRUE(WaitedForNothing(calls([&] { p.seek_to(0.5); }))) << "seek";
                    EXPECT_TRUE(WaitedForNothing(calls([&] { p.play_status(); }))) << "status";
                    EXPECT_TRUE(WaitedForNothing(calls([&] { p.stop(); }))) << "stop";
                }
                // The decoder thread comes back once close cancels its command; nothing else is open.
                const CallEnd close = calls([&] { p.close(); });
                EXPECT_EQ(close.answered > 0, opened != 0) << close.gaveUp << " given up";
                EXPECT_EQ(p.play_status(), 0);
                // The stuck decoder was killed: no thread of the player waits for it.
                EXPECT_TRUE(PumpUntil([&] { return base.restored(); }, kKilledDecoderGoneMs)) << base.Describe();
            }
        }
        // The player is not harmed: without the fault the same file plays.
        avplayer_seams::install(p, {});
        ASSERT_TRUE(avtest::Open(p));
        EXPECT_TRUE(avtest::PlayUntilShown(p));
        p.close();
    }
    EXPECT_TRUE(PumpUntil([&] { return base.restored(); }, kKilledDecoderGoneMs)) << base.Describe();
}

TEST(EngineBounds, NoCallOutlastsItsBudgetWhateverTheReaderDoes)
{
    avtest::TestWindow w(320, 240);
    const Baseline base(w.hwnd());
    // What counts is that twenty more opens, each with a decoder killed, add no handle.
    CallLog calls;
    OpenUnderEveryFault(w, base, 1, calls);
    const DWORD handlesAfterFirst = avtest::HandleCount();
    OpenUnderEveryFault(w, base, 4, calls);
    EXPECT_TRUE(PumpUntil([&] { return avtest::HandleCount() <= handlesAfterFirst + 2; }, 3000))
        << avtest::HandleCount() - handlesAfterFirst;
    RecordProperty("slowest_call_ms", std::to_string(calls.slowestSeconds * 1000));
}

TEST(EngineBounds, ASlowSoundDeviceNeverHoldsTheCaller)
{
    avtest::TestWindow w(320, 240);
    const Baseline base(w.hwnd());
    auto gate = std::make_shared<DeviceGate>();
    {
        avtest::WindowedPlayer p(w);
        avplayer_seams::install(p, {{}, GatedAudioOutput(gate)});
        ASSERT_TRUE(avtest::Open(p));
        ASSERT_TRUE(avplayer_probe::hasAudioTrack(p));
        // Every call below comes back while the gate still holds the device: none waited for it.
        gate->Close();
        CallLog calls;
        calls([&] { p.play(0, 0); });
        RecordProperty("play_ms", std::to_string(calls.slowestSeconds * 1000));
        EXPECT_TRUE(PumpUntil([&] { return gate->Held() > 0; }, 5000)) << "play is back and the device is held";
        // While the device sits in a call, the status answers: the session lock is free.
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(PumpUntil([&] { return gate->Held() > 0; }, 5000));
            EXPECT_EQ(p.play_status(), 1);
            p.curr_play_time();
            EXPECT_GT(gate->Held(), 0) << "the status waited for the device";
            EXPECT_GT(gate->Held(), 0) << "the time waited for the device";
            gate->Open();
            PumpUntil([&] { return gate->Held() == 0; }, 5000);
            gate->Close();
        }
        for (const auto& [name, call] : std::vector<std::pair<const char*, std::function<void()>>>{
                 {"pause", [&] { p.pause(); }},
                 {"resume", [&] { p.resume(); }},
                 {"seek", [&] { p.seek_to(0.25); }},
                 {"stop", [&] { p.stop(); }},
                 {"close", [&] { p.close(); }}}) {
            SCOPED_TRACE(name);
            PumpUntil([&] { return gate->Held() > 0; }, 3000);
            calls.slowestSeconds = 0;
            calls(call);
            RecordProperty(std::string(name) + "_ms", std::to_string(calls.slowestSeconds * 1000));
            EXPECT_GT(gate->Held(), 0) << "the call waited for the device";
        }
    }
    // The sound thread let go ends once its driver lets go, and gives back what it held.
    gate->Open();
    EXPECT_TRUE(PumpUntil([&] { return base.restored(); }, kLetGoEndsMs)) << base.Describe();
}

TEST(EngineBounds, CloseKeepsTheWindowForTheNextOpen)
{
    avtest::TestWindow w(320, 240);
    avtest::WindowedPlayer p(w);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(avtest::Open(p));
        EXPECT_EQ(avplayer_probe::window(p), w.hwnd());
        EXPECT_TRUE(avtest::PlayUntilShown(p));
        p.close();
    }
}

TEST(EngineBounds, ADecoderThatDiesWhilePlayingStopsTheFileAndTheNextOpenPlays)
{
    avtest::TestWindow w(320, 240);
    const Baseline base(w.hwnd());
    avtest::WindowedPlayer p(w);
    // The decoder plays a second or so, then crashes in the platform's read.
    avplayer_seams::install(p, {{ReaderFault::Crashes, 60}, {}});
    ASSERT_TRUE(avtest::Open(p));
    const DWORD decoder = avplayer_probe::decoderProcessId(p);
    ASSERT_NE(decoder, 0u);
    const int lost = avplayer_probe::decodersLost();
    ASSERT_TRUE(avtest::PlayUntilShown(p));
    EXPECT_TRUE(PumpUntil([&] { return p.play_status() == 4; }, 10000)) << p.play_status();
    EXPECT_GT(avplayer_probe::decodersLost(), lost);
    // The window keeps answering: its own input handling runs, and the engine answers at once.
    const int keys = w.keys;
    PostMessageW(w.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_TRUE(PumpUntil([&] { return w.keys > keys; }, 2000));
    EXPECT_TRUE(WaitedForNothing(CallLog()([&] {
        p.curr_play_time();
        p.duration();
        p.play_status();
    })));
    // The next open gets a fresh decoder and plays.
    avplayer_seams::install(p, {});
    ASSERT_TRUE(avtest::Open(p));
    EXPECT_NE(avplayer_probe::decoderProcessId(p), decoder);
    EXPECT_TRUE(avtest::PlayUntilShown(p));
    EXPECT_EQ(p.play_status(), 1);
    p.close();
    EXPECT_TRUE(PumpUntil([&] { return base.restored(); }, kKilledDecoderGoneMs)) << base.Describe();
}

// The process leaves only once every engine thread has ended: a thread let go that still
// ran while the runtime tore the process down would take the exit with it.
class NoEngineThreadAtExit : public ::testing::Environment {
    void TearDown() override
    {
        EXPECT_TRUE(PumpUntil([] { return avcore::WorkerThread::running() == 0; }, kLetGoEndsMs))
            << avcore::WorkerThread::running() << " engine threads still run";
    }
};
const auto* const g_noThreadAtExit = ::testing::AddGlobalTestEnvironment(new NoEngineThreadAtExit);

TEST(EngineBounds, NetworkPathsGetTheLongerBudget)
{
    const struct { const wchar_t* path; bool network; } cases[] = {
        {L"\\\\server\\share\\film.mp4", true},
        {L"//server/share/film.mp4", true},
        {L"\\\\?\\UNC\\server\\share\\film.mp4", true},
        {L"C:\\film.mp4", false},
        {L"\\\\?\\C:\\film.mp4", false},
        {L"\\\\.\\pipe\\film", false},
        {L"film.mp4", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.path, c.path + wcslen(c.path)));
        EXPECT_EQ(avcore::IsNetworkPath(c.path), c.network);
        EXPECT_EQ(avcore::CallBudgetMs(c.path), c.network ? avcore::kNetworkCallBudgetMs : avcore::kLocalCallBudgetMs);
    }
}

} // namespace
