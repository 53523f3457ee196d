// Image decoding through GDI+ and the process-wide cache of decoded skin images.
#include "duilib/UIResource.h"

#include <objidl.h>
#include <gdiplus.h>
#include <wrl/client.h>
#include <cstring>
#include <mutex>
#include <new>
#include <unordered_map>

namespace DuiLib {

namespace {

namespace gp = Gdiplus::DllExports;

// Larger than any skin image; refuses pictures whose pixel buffer would be absurd.
constexpr UINT kMaxImageSide = 16384;
// 256 MB of pixels at most: a file claiming more is refused before we allocate.
constexpr uint64_t kMaxImagePixels = 64ull << 20;

// GDI+ is started once, on first use, and stays up for the life of the process:
// shutting it down from a static destructor races with other teardown.
bool EnsureGdiplus()
{
    static const bool started = [] {
        Gdiplus::GdiplusStartupInput input;
        ULONG_PTR token = 0;
        return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }();
    return started;
}

struct BitmapDeleter {
    void operator()(Gdiplus::GpBitmap* bitmap) const { gp::GdipDisposeImage(bitmap); }
};
using BitmapPtr = std::unique_ptr<Gdiplus::GpBitmap, BitmapDeleter>;

struct GlobalDeleter {
    void operator()(void* handle) const { GlobalFree(static_cast<HGLOBAL>(handle)); }
};

// A read-only stream over a copy of the bytes; the stream owns the copy.
Microsoft::WRL::ComPtr<IStream> MakeStream(const void* data, size_t size)
{
    std::unique_ptr<void, GlobalDeleter> memory(GlobalAlloc(GMEM_MOVEABLE, size));
    if (!memory) return nullptr;
    void* target = GlobalLock(memory.get());
    if (!target) return nullptr;
    std::memcpy(target, data, size);
    GlobalUnlock(memory.get());
    Microsoft::WRL::ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(static_cast<HGLOBAL>(memory.get()), TRUE, &stream))) return nullptr;
    memory.release();  // now freed by the stream
    return stream;
}

// Cache key: lower case with one kind of separator, as the archive compares names.
std::wstring CacheKey(const wchar_t* path)
{
    CDuiString key(path);
    key.Replace(L"\\", L"/");
    key.MakeLower();
    return key.str();
}

struct CacheState {
    std::mutex lock;
    std::unordered_map<std::wstring, std::shared_ptr<const CImageData>> images;  // guarded by lock
    uint64_t generation = 0;  // guarded by lock; bumped by Clear
};

CacheState& Cache()
{
    static CacheState state;
    return state;
}

} // namespace

std::shared_ptr<const CImageData> DecodeImage(const void* data, size_t size)
{
    if (!data || size == 0 || size > 0x7FFFFFFF || !EnsureGdiplus()) return nullptr;
    Microsoft::WRL::ComPtr<IStream> stream = MakeStream(data, size);
    if (!stream) return nullptr;

    Gdiplus::GpBitmap* raw = nullptr;
    if (gp::GdipCreateBitmapFromStream(stream.Get(), &raw) != Gdiplus::Ok || !raw) return nullptr;
    BitmapPtr bitmap(raw);

    UINT width = 0, height = 0;
    if (gp::GdipGetImageWidth(bitmap.get(), &width) != Gdiplus::Ok ||
        gp::GdipGetImageHeight(bitmap.get(), &height) != Gdiplus::Ok) return nullptr;
    if (width == 0 || height == 0 || width > kMaxImageSide || height > kMaxImageSide ||
        uint64_t{width} * height > kMaxImagePixels) return nullptr;

    auto image = std::make_shared<CImageData>();
    image->width = static_cast<int>(width);
    image->height = static_cast<int>(height);
    try {
        image->pixels.resize(static_cast<size_t>(width) * height);
    } catch (const std::bad_alloc&) {
        return nullptr;  // memory short even within the cap: a missing image, not an ended process
    }

    // Lock straight into our buffer: GDI+ converts to premultiplied BGRA as it copies.
    Gdiplus::BitmapData locked{};
    locked.Width = width;
    locked.Height = height;
    locked.Stride = static_cast<INT>(width * 4);
    locked.PixelFormat = PixelFormat32bppPARGB;
    locked.Scan0 = image->pixels.data();
    Gdiplus::GpRect area(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    if (gp::GdipBitmapLockBits(bitmap.get(), &area, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                               PixelFormat32bppPARGB, &locked) != Gdiplus::Ok) return nullptr;
    gp::GdipBitmapUnlockBits(bitmap.get(), &locked);

    for (uint32_t px : image->pixels) {
        if ((px >> 24) != 0xFF) { image->hasAlpha = true; break; }
    }
    return image;
}

std::shared_ptr<const CImageData> CImageCache::Get(const wchar_t* path)
{
    if (!path || !*path) return nullptr;
    const std::wstring key = CacheKey(path);
    CacheState& cache = Cache();
    uint64_t generation;
    {
        std::lock_guard<std::mutex> guard(cache.lock);
        auto it = cache.images.find(key);
        if (it != cache.images.end()) return it->second;
        generation = cache.generation;
    }
    // Read and decode without the cache lock: the skin source has its own lock.
    std::shared_ptr<const CImageData> image;
    std::vector<uint8_t> bytes;
    if (CSkinSource::ReadFile(path, bytes)) image = DecodeImage(bytes.data(), bytes.size());

    std::lock_guard<std::mutex> guard(cache.lock);
    // An archive switched meanwhile: do not file this result under the new archive.
    if (generation != cache.generation) return image;
    auto inserted = cache.images.emplace(key, image);
    return inserted.first->second;
}

void CImageCache::Clear()
{
    CacheState& cache = Cache();
    std::lock_guard<std::mutex> guard(cache.lock);
    cache.images.clear();
    ++cache.generation;
}

} // namespace DuiLib
