// The process-wide skin archive: taken from a module resource or from memory.
#include "duilib/UIResource.h"

#include <map>
#include <mutex>
#include <utility>

namespace DuiLib {

namespace {

struct SkinState {
    std::mutex lock;
    // Archives loaded from resources stay parsed so windows switching back pay nothing.
    std::map<std::pair<HINSTANCE, UINT>, std::shared_ptr<const CZipArchive>> byResource;
    std::shared_ptr<const CZipArchive> current;
};

// Function-local so that no other static initialiser can see it half-built.
SkinState& State()
{
    static SkinState state;
    return state;
}

bool LoadResourceBytes(HINSTANCE module, UINT resourceId, std::vector<uint8_t>& bytes)
{
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(resourceId), L"ZIPRES");
    if (!info) return false;
    DWORD size = SizeofResource(module, info);
    HGLOBAL handle = LoadResource(module, info);
    if (!handle || size == 0) return false;
    const void* data = LockResource(handle);
    if (!data) return false;
    const uint8_t* begin = static_cast<const uint8_t*>(data);
    bytes.assign(begin, begin + size);
    return true;
}

// Joins folder and file with a backslash unless the folder already ends in a separator.
CDuiString JoinPath(const wchar_t* folder, const wchar_t* file)
{
    CDuiString path(folder);
    const int n = path.GetLength();
    if (n > 0 && path.GetAt(n - 1) != L'\\' && path.GetAt(n - 1) != L'/') path += L'\\';
    path += file;
    return path;
}

void SetCurrent(SkinState& state, std::shared_ptr<const CZipArchive> archive)
{
    if (state.current == archive) return;
    state.current = std::move(archive);
    // Images decoded from the previous archive must not outlive it.
    CImageCache::Clear();
}

} // namespace

bool CSkinSource::UseResource(HINSTANCE module, UINT resourceId)
{
    SkinState& state = State();
    std::shared_ptr<const CZipArchive> archive;
    {
        std::lock_guard<std::mutex> guard(state.lock);
        auto it = state.byResource.find({module, resourceId});
        if (it != state.byResource.end()) archive = it->second;
    }
    if (!archive) {
        std::vector<uint8_t> bytes;
        if (!LoadResourceBytes(module, resourceId, bytes)) return false;
        auto fresh = std::make_shared<CZipArchive>();
        if (!fresh->Open(std::move(bytes))) return false;
        archive = fresh;
        std::lock_guard<std::mutex> guard(state.lock);
        state.byResource[{module, resourceId}] = archive;
    }
    std::lock_guard<std::mutex> guard(state.lock);
    SetCurrent(state, std::move(archive));
    return true;
}

bool CSkinSource::UseMemory(std::vector<uint8_t> bytes)
{
    auto archive = std::make_shared<CZipArchive>();
    if (!archive->Open(std::move(bytes))) return false;
    SkinState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    SetCurrent(state, std::move(archive));
    return true;
}

void CSkinSource::Reset()
{
    SkinState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    state.byResource.clear();
    SetCurrent(state, nullptr);
}

bool CSkinSource::IsLoaded()
{
    SkinState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    return state.current != nullptr;
}

bool CSkinSource::ReadFile(const wchar_t* folder, const wchar_t* file, std::vector<uint8_t>& out)
{
    out.clear();
    if (!file || !*file) return false;
    std::shared_ptr<const CZipArchive> archive;
    {
        SkinState& state = State();
        std::lock_guard<std::mutex> guard(state.lock);
        archive = state.current;
    }
    if (!archive) return false;
    if (folder && *folder && archive->Read(JoinPath(folder, file), out)) return true;
    return archive->Read(file, out);
}

} // namespace DuiLib
