#include "avcore/audio_output.h"

#include <mmsystem.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "avcore/wave_release.h"
#include "avcore/win_handle.h"

namespace avcore {

namespace {

constexpr int kBlocks = 8;               // 8 x 25 ms queued at most
constexpr int kBlocksPerSecond = 40;

struct WaveOutCloser {
    void operator()(HWAVEOUT h) const { if (h) waveOutClose(h); }
};
using UniqueWaveOut = std::unique_ptr<std::remove_pointer_t<HWAVEOUT>, WaveOutCloser>;

class WaveOutput final : public AudioOutput {
public:
    WaveOutput(const AudioFormat& f, UniqueWaveOut device, UniqueHandle done)
        : m_format(f), m_device(std::move(device)), m_done(std::move(done)), m_blocks(new Block[kBlocks])
    {
        m_blockFrames = std::max<size_t>(64, static_cast<size_t>(f.rate) / kBlocksPerSecond);
        for (int i = 0; i < kBlocks; ++i) {
            Block& b = m_blocks[i];
            b.data.resize(m_blockFrames * f.channels);
            b.header.lpData = reinterpret_cast<LPSTR>(b.data.data());
            b.header.dwBufferLength = static_cast<DWORD>(b.data.size() * sizeof(int16_t));
            b.prepared = waveOutPrepareHeader(m_device.get(), &b.header, sizeof(WAVEHDR)) == MMSYSERR_NOERROR;
            b.header.dwFlags |= WHDR_DONE;  // free to fill
        }
    }

    ~WaveOutput() override
    {
        WAVEHDR* headers[kBlocks];
        for (int i = 0; i < kBlocks; ++i) headers[i] = &m_blocks[i].header;
        if (!ReleaseWaveDevice(m_device.release(), std::move(m_done), headers, kBlocks))
            m_blocks.release();  // the driver kept a block: its memory must outlive us
    }

    bool isDevice() const override { return true; }
    const AudioFormat& format() const override { return m_format; }
    size_t blockFrames() const override { return m_blockFrames; }
    bool canWrite() const override { return freeBlock() != nullptr; }

    bool write(const int16_t* samples, size_t frames) override
    {
        Block* b = freeBlock();
        if (!b || frames == 0) return false;
        frames = std::min(frames, m_blockFrames);
        std::memcpy(b->data.data(), samples, frames * m_format.channels * sizeof(int16_t));
        b->header.dwBufferLength = static_cast<DWORD>(frames * m_format.channels * sizeof(int16_t));
        b->header.dwFlags &= ~WHDR_DONE;
        if (waveOutWrite(m_device.get(), &b->header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
            b->header.dwFlags |= WHDR_DONE;
            return false;
        }
        m_written += frames;
        return true;
    }

    uint64_t writtenFrames() const override { return m_written; }

    uint64_t playedFrames() override
    {
        MMTIME t{};
        t.wType = TIME_SAMPLES;
        if (waveOutGetPosition(m_device.get(), &t, sizeof(t)) == MMSYSERR_NOERROR) {
            DWORD raw = 0;
            if (t.wType == TIME_SAMPLES) raw = t.u.sample;
            else if (t.wType == TIME_BYTES) raw = t.u.cb / (m_format.channels * sizeof(int16_t));
            else return std::min(m_played, m_written);
            // The counter is 32 bits wide: accumulate its steps rather than its value.
            m_played += static_cast<DWORD>(raw - m_lastRaw);
            m_lastRaw = raw;
        }
        return std::min(m_played, m_written);
    }

    void pause() override { waveOutPause(m_device.get()); }
    void resume() override { waveOutRestart(m_device.get()); }

    void reset() override
    {
        // Returns every block (the driver marks each done), position back to zero. A block the
        // driver has not given back stays busy rather than being refilled under it.
        waveOutReset(m_device.get());
        m_written = m_played = 0;
        m_lastRaw = 0;
    }

    HANDLE wakeEvent() const override { return m_done.get(); }

private:
    struct Block {
        std::vector<int16_t> data;
        WAVEHDR header{};
        bool prepared = false;
    };

    Block* freeBlock() const
    {
        for (int i = 0; i < kBlocks; ++i) {
            Block& b = m_blocks[i];
            if (b.prepared && (b.header.dwFlags & WHDR_DONE)) return &b;
        }
        return nullptr;
    }

    AudioFormat m_format;
    UniqueWaveOut m_device;
    UniqueHandle m_done;
    size_t m_blockFrames = 0;
    std::unique_ptr<Block[]> m_blocks;  // on the heap so that a driver that keeps them can have them
    uint64_t m_written = 0;
    uint64_t m_played = 0;
    DWORD m_lastRaw = 0;
};

} // namespace

std::unique_ptr<AudioOutput> OpenWaveOut(const AudioFormat& format)
{
    if (format.rate <= 0 || format.channels <= 0 || waveOutGetNumDevs() == 0) return nullptr;
    WAVEFORMATEX wf{};
    wf.wFormatTag = WAVE_FORMAT_PCM;
    wf.nChannels = static_cast<WORD>(format.channels);
    wf.nSamplesPerSec = static_cast<DWORD>(format.rate);
    wf.wBitsPerSample = 16;
    wf.nBlockAlign = static_cast<WORD>(format.channels * 2);
    wf.nAvgBytesPerSec = wf.nSamplesPerSec * wf.nBlockAlign;
    UniqueHandle done = MakeEvent(false);
    if (!done) return nullptr;
    HWAVEOUT raw = nullptr;
    if (waveOutOpen(&raw, WAVE_MAPPER, &wf, reinterpret_cast<DWORD_PTR>(done.get()), 0,
                    CALLBACK_EVENT) != MMSYSERR_NOERROR)
        return nullptr;
    return std::make_unique<WaveOutput>(format, UniqueWaveOut(raw), std::move(done));
}

} // namespace avcore
