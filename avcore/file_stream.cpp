#include "avcore/file_stream.h"

#include <mfapi.h>

#include "avcore/com_object.h"
#include "avcore/win_handle.h"

// In mfplat since Windows 7; mingw's headers leave it out.
STDAPI MFCreateMFByteStreamOnStream(IStream* stream, IMFByteStream** byteStream);

namespace avcore {

namespace {

// Reading and seeking are all Media Foundation asks of the stream.
class FileStream final : public ComObject<IStream, ISequentialStream> {
public:
    explicit FileStream(HANDLE file) : m_file(file) {}

    HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG bytes, ULONG* read) override
    {
        DWORD got = 0;
        const BOOL ok = ReadFile(m_file.get(), buffer, bytes, &got, nullptr);
        if (read) *read = got;
        if (!ok) return HRESULT_FROM_WIN32(GetLastError());
        return got == bytes ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG*) override { return STG_E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override
    {
        LARGE_INTEGER at{};
        if (!SetFilePointerEx(m_file.get(), move, &at, origin)) return HRESULT_FROM_WIN32(GetLastError());
        if (position) position->QuadPart = static_cast<ULONGLONG>(at.QuadPart);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return STG_E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override
    {
        if (!stat) return E_POINTER;
        *stat = STATSTG{};
        stat->type = STGTY_STREAM;
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(m_file.get(), &size)) return HRESULT_FROM_WIN32(GetLastError());
        stat->cbSize.QuadPart = static_cast<ULONGLONG>(size.QuadPart);
        stat->grfMode = STGM_READ;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }

private:
    UniqueHandle m_file;
};

} // namespace

Microsoft::WRL::ComPtr<IMFByteStream> ByteStreamOnFile(HANDLE file, const std::wstring& path)
{
    Microsoft::WRL::ComPtr<IStream> stream;
    stream.Attach(new FileStream(file));
    Microsoft::WRL::ComPtr<IMFByteStream> byteStream;
    if (FAILED(MFCreateMFByteStreamOnStream(stream.Get(), &byteStream))) return nullptr;
    Microsoft::WRL::ComPtr<IMFAttributes> attributes;
    if (SUCCEEDED(byteStream.As(&attributes))) attributes->SetString(MF_BYTESTREAM_ORIGIN_NAME, path.c_str());
    return byteStream;
}

} // namespace avcore
