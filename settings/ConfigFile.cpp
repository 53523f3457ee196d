// cfg.cfg: two little-endian int32 values next to the exe. A failed read is silent
// and the caller keeps what it had; a failed write keeps the old file and says so.
#include "settings/ConfigFile.h"

#include <windows.h>
#include <memory>
#include "duilib/UIPath.h"

using DuiLib::GetModulePath;
using DuiLib::LongPathForm;

namespace {

struct HandleCloser {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
using FileHandle = std::unique_ptr<void, HandleCloser>;

FileHandle OpenFile(const std::wstring& path, DWORD access, DWORD disposition) {
    // Share mode 0: a file another process holds open counts as unavailable.
    HANDLE h = CreateFileW(path.c_str(), access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return FileHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

// Replaces the low-order bytes of value that the file held; the rest stay.
void OverlayLittleEndian(int32_t& value, const unsigned char* bytes, DWORD count) {
    uint32_t v = static_cast<uint32_t>(value);
    for (DWORD i = 0; i < count && i < 4; ++i)
        v = (v & ~(0xFFu << (8 * i))) | (static_cast<uint32_t>(bytes[i]) << (8 * i));
    value = static_cast<int32_t>(v);
}

void PutLittleEndian(unsigned char* out, int32_t value) {
    uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<unsigned char>(v >> (8 * i));
}

} // namespace

bool GetExeDirectory(std::wstring& out) {
    std::wstring path;
    if (!GetModulePath(path))
        return false;
    size_t slash = path.rfind(L'\\');
    if (slash != std::wstring::npos)
        out = path.substr(0, slash);
    return true;
}

bool GetExeDirectory(wchar_t* out) {
    if (!out)
        return false;
    std::wstring path;
    if (!GetModulePath(path))
        return false;
    size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos)
        return true;
    if (slash >= MAX_PATH)  // would not fit with its terminator
        return false;
    path.copy(out, slash);
    out[slash] = L'\0';
    return true;
}

std::wstring ConfigFilePath() {
    // An unknown directory leaves the rooted "\cfg.cfg" on the current drive.
    std::wstring dir;
    GetExeDirectory(dir);
    return LongPathForm(dir + L"\\cfg.cfg");
}

void ReadEffectSettings(const std::wstring& path, EffectSettings& io) {
    FileHandle file = OpenFile(path, GENERIC_READ, OPEN_EXISTING);
    if (!file)
        return;
    unsigned char bytes[8];
    DWORD got = 0;
    // A short file fills only what it has; bytes past 8 are never read.
    while (got < sizeof(bytes)) {
        DWORD n = 0;
        if (!ReadFile(file.get(), bytes + got, sizeof(bytes) - got, &n, nullptr) || n == 0)
            break;
        got += n;
    }
    OverlayLittleEndian(io.shape, bytes, got);
    if (got > 4)
        OverlayLittleEndian(io.effectCode, bytes + 4, got - 4);
}

bool WriteEffectSettings(const std::wstring& path, const EffectSettings& value) {
    // Written whole beside the file, then put in its place in one step: a write that
    // fails half-way never leaves a short or empty cfg.cfg behind.
    const std::wstring temp = path + L".tmp";
    unsigned char bytes[8];
    PutLittleEndian(bytes, value.shape);
    PutLittleEndian(bytes + 4, value.effectCode);
    bool written = false;
    if (FileHandle file = OpenFile(temp, GENERIC_WRITE, CREATE_ALWAYS)) {
        DWORD count = 0;
        written = WriteFile(file.get(), bytes, sizeof(bytes), &count, nullptr) && count == sizeof(bytes) &&
                  FlushFileBuffers(file.get());
    }
    if (written && MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temp.c_str());
    return false;
}
