// Writing a picture as PNG through WIC.
#include "playback/PngFile.h"

#include <windows.h>
#include <wincodec.h>

#include <vector>

namespace screenshot {

namespace {

// Releases a COM pointer at the end of its scope.
template <class T>
struct ComPtr {
    T* p = nullptr;
    ~ComPtr() {
        if (p)
            p->Release();
    }
    T** operator&() { return &p; }
    T* operator->() const { return p; }
};

// COM for this call, unless the thread has it already in another mode.
struct ComScope {
    HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ~ComScope() {
        if (SUCCEEDED(hr))
            ::CoUninitialize();
    }
};

// Every COM object is released when this returns, so the file is closed by then.
bool Encode(const std::wstring& path, const std::vector<BYTE>& bgr, UINT stride, int width, int height) {
    ComScope com;
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    return SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
           SUCCEEDED(factory->CreateStream(&stream)) &&
           SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
           SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
           SUCCEEDED(encoder->Initialize(stream.p, WICBitmapEncoderNoCache)) &&
           SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
           SUCCEEDED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))) &&
           SUCCEEDED(frame->SetPixelFormat(&format)) && format == GUID_WICPixelFormat24bppBGR &&
           SUCCEEDED(frame->WritePixels(static_cast<UINT>(height), stride, static_cast<UINT>(bgr.size()),
                                        const_cast<BYTE*>(bgr.data()))) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

} // namespace

bool WritePng(const std::wstring& path, const unsigned char* bgra, int width, int height) {
    if (!bgra || width <= 0 || height <= 0 || path.empty())
        return false;
    // Three bytes a pixel: the picture is opaque on screen, whatever its alpha says.
    const UINT stride = (static_cast<UINT>(width) * 3 + 3) & ~3u;
    std::vector<BYTE> bgr(static_cast<size_t>(stride) * height);
    for (int y = 0; y < height; ++y) {
        const unsigned char* from = bgra + static_cast<size_t>(y) * width * 4;
        BYTE* to = bgr.data() + static_cast<size_t>(y) * stride;
        for (int x = 0; x < width; ++x, from += 4, to += 3) {
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
        }
    }
    if (Encode(path, bgr, stride, width, height))
        return true;
    ::DeleteFileW(path.c_str());  // a part-written file is no picture
    return false;
}

} // namespace screenshot
