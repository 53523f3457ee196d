#include "avcore/reader_faults.h"

#include <mfapi.h>
#include <mferror.h>

#include <atomic>

#include "avcore/com_object.h"

using Microsoft::WRL::ComPtr;

namespace avcore {

namespace {

// Holds the calling thread until the player kills this process.
[[noreturn]] void HangForGood()
{
    for (;;) Sleep(INFINITE);
}

class FaultyReader final : public ComObject<IMFSourceReader> {
public:
    FaultyReader(ComPtr<IMFSourceReader> real, ReaderFaultSeam seam) : m_real(std::move(real)), m_seam(seam) {}

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
        if (m_reads++ < m_seam.goodReads) return m_real->ReadSample(i, f, actual, flags, ts, sample);
        switch (m_seam.fault) {
        case ReaderFault::EmptyForever:
            if (actual) *actual = i;
            if (flags) *flags = 0;
            if (ts) *ts = 0;
            if (sample) *sample = nullptr;
            return S_OK;
        case ReaderFault::Crashes:
            *static_cast<volatile int*>(nullptr) = 0;
            return E_FAIL;
        default:
            HangForGood();
        }
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
    ComPtr<IMFSourceReader> m_real;
    ReaderFaultSeam m_seam;
    std::atomic<int> m_reads{0};
};

} // namespace

ReaderFactory FaultyReaderFactory(const ReaderFaultSeam& seam)
{
    if (seam.fault == ReaderFault::None || seam.fault == ReaderFault::PathDenied) return {};
    return [seam](const std::wstring& path, IMFAttributes* attributes, IMFSourceReader** reader) -> HRESULT {
        if (seam.fault == ReaderFault::CreationHangs) HangForGood();
        ComPtr<IMFSourceReader> real;
        const HRESULT hr = MFCreateSourceReaderFromURL(path.c_str(), attributes, &real);
        if (FAILED(hr)) return hr;
        *reader = new FaultyReader(std::move(real), seam);
        return S_OK;
    };
}

} // namespace avcore
