#include "fault_platform.h"

#include <mfapi.h>
#include <mferror.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

namespace avtest {

namespace {

class FaultyReaderImpl final : public IMFSourceReader {
public:
    FaultyReaderImpl(ComPtr<IMFSourceReader> real, ReaderFault fault, std::shared_ptr<Gate> gate, int goodReads)
        : m_real(std::move(real)), m_fault(fault), m_gate(std::move(gate)), m_goodReads(goodReads) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (!out) return E_POINTER;
        if (riid == __uuidof(IUnknown) || riid == __uuidof(IMFSourceReader)) {
            *out = static_cast<IMFSourceReader*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --m_refs;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetStreamSelection(DWORD i, WINBOOL* s) override { return m_real->GetStreamSelection(i, s); }
    HRESULT STDMETHODCALLTYPE SetStreamSelection(DWORD i, WINBOOL s) override { return m_real->SetStreamSelection(i, s); }
    HRESULT STDMETHODCALLTYPE GetNativeMediaType(DWORD i, DWORD t, IMFMediaType** m) override
    {
        return m_real->GetNativeMediaType(i, t, m);
    }
    HRESULT STDMETHODCALLTYPE GetCurrentMediaType(DWORD i, IMFMediaType** m) override
    {
        return m_real->GetCurrentMediaType(i, m);
    }
    HRESULT STDMETHODCALLTYPE SetCurrentMediaType(DWORD i, DWORD* r, IMFMediaType* m) override
    {
        return m_real->SetCurrentMediaType(i, r, m);
    }
    HRESULT STDMETHODCALLTYPE SetCurrentPosition(REFGUID f, REFPROPVARIANT p) override
    {
        return m_real->SetCurrentPosition(f, p);
    }
    HRESULT STDMETHODCALLTYPE ReadSample(DWORD i, DWORD f, DWORD* actual, DWORD* flags, LONGLONG* ts,
                                         IMFSample** sample) override
    {
        if (m_reads++ < m_goodReads) return m_real->ReadSample(i, f, actual, flags, ts, sample);
        if (m_fault == ReaderFault::EmptyForever) {
            if (actual) *actual = i;
            if (flags) *flags = 0;
            if (ts) *ts = 0;
            if (sample) *sample = nullptr;
            return S_OK;
        }
        m_gate->wait();
        return MF_E_INVALIDREQUEST;
    }
    HRESULT STDMETHODCALLTYPE Flush(DWORD i) override { return m_real->Flush(i); }
    HRESULT STDMETHODCALLTYPE GetServiceForStream(DWORD i, REFGUID s, REFIID r, void** o) override
    {
        return m_real->GetServiceForStream(i, s, r, o);
    }
    HRESULT STDMETHODCALLTYPE GetPresentationAttribute(DWORD i, REFGUID g, PROPVARIANT* v) override
    {
        return m_real->GetPresentationAttribute(i, g, v);
    }

private:
    ~FaultyReaderImpl() = default;

    std::atomic<ULONG> m_refs{1};
    ComPtr<IMFSourceReader> m_real;
    ReaderFault m_fault;
    std::shared_ptr<Gate> m_gate;
    int m_goodReads;
    std::atomic<int> m_reads{0};
};

class SlowOutput final : public avcore::AudioOutput {
public:
    SlowOutput(std::unique_ptr<avcore::AudioOutput> inner, DWORD delayMs, std::shared_ptr<std::atomic<int>> underway)
        : m_inner(std::move(inner)), m_delayMs(delayMs), m_underway(std::move(underway)) {}

    bool isDevice() const override { return false; }
    const avcore::AudioFormat& format() const override { return m_inner->format(); }
    size_t blockFrames() const override { return m_inner->blockFrames(); }
    bool canWrite() const override { return m_inner->canWrite(); }
    bool write(const int16_t* s, size_t n) override { slow(); return m_inner->write(s, n); }
    uint64_t writtenFrames() const override { return m_inner->writtenFrames(); }
    uint64_t playedFrames() override { slow(); return m_inner->playedFrames(); }
    void pause() override { slow(); m_inner->pause(); }
    void resume() override { slow(); m_inner->resume(); }
    void reset() override { slow(); m_inner->reset(); }
    HANDLE wakeEvent() const override { return m_inner->wakeEvent(); }

private:
    void slow()
    {
        ++*m_underway;
        Sleep(m_delayMs);
        --*m_underway;
    }

    std::unique_ptr<avcore::AudioOutput> m_inner;
    DWORD m_delayMs;
    std::shared_ptr<std::atomic<int>> m_underway;
};

} // namespace

avcore::ReaderFactory FaultyReader(ReaderFault fault, std::shared_ptr<Gate> gate, int goodReads)
{
    return [=](const std::wstring& path, IMFAttributes* attributes, IMFSourceReader** reader) -> HRESULT {
        if (fault == ReaderFault::CreationHangs) {
            gate->wait();
            return MF_E_UNSUPPORTED_BYTESTREAM_TYPE;
        }
        ComPtr<IMFSourceReader> real;
        const HRESULT hr = MFCreateSourceReaderFromURL(path.c_str(), attributes, &real);
        if (FAILED(hr)) return hr;
        *reader = new FaultyReaderImpl(std::move(real), fault, gate, goodReads);
        return S_OK;
    };
}

avcore::AudioOutputFactory SlowAudioOutput(DWORD delayMs, std::shared_ptr<std::atomic<int>> callsUnderway)
{
    return [=](const avcore::AudioFormat& format) -> std::unique_ptr<avcore::AudioOutput> {
        auto inner = avcore::OpenNullOutput(format);
        if (!inner) return nullptr;
        return std::make_unique<SlowOutput>(std::move(inner), delayMs, callsUnderway);
    };
}

} // namespace avtest
