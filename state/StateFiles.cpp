// The state file on disk: its place, reading it whole, replacing it in one step, a file's identity.
#include "state/StateFiles.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>

#include "duilib/UIPath.h"

using DuiLib::LongPathForm;

namespace userstate {

namespace {

// A state file beyond this was not written by us; reading it would only stall the start.
constexpr LONGLONG kMaxStateBytes = 64LL << 20;

struct HandleCloser {
    void operator()(HANDLE h) const { ::CloseHandle(h); }
};
using FileHandle = std::unique_ptr<void, HandleCloser>;

FileHandle OpenFile(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
    HANDLE h = ::CreateFileW(LongPathForm(path).c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
    return FileHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

std::wstring UserDataFolder() {
    wchar_t buffer[MAX_PATH * 4] = {};
    const DWORD n = ::GetEnvironmentVariableW(L"APPDATA", buffer, _countof(buffer));
    if (n > 0 && n < _countof(buffer))
        return buffer;
    wchar_t folder[MAX_PATH] = {};
    if (SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return folder;
    return {};
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return ::FlushFileBuffers(file) != FALSE;
}

} // namespace

std::wstring StateFilePath() {
    std::wstring folder = UserDataFolder();
    if (folder.empty())
        return {};
    if (folder.back() != L'\\')
        folder += L'\\';
    return folder + L"Morvane\\state.json";
}

std::string ReadStateFile(const std::wstring& path) {
    // Whoever else has it open (a scanner, a sync client) does not turn it into defaults.
    FileHandle file = OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > kMaxStateBytes)
        return {};
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    size_t got = 0;
    while (got < bytes.size()) {
        DWORD n = 0;
        if (!::ReadFile(file.get(), bytes.data() + got, static_cast<DWORD>(bytes.size() - got), &n, nullptr) || n == 0)
            break;
        got += n;
    }
    bytes.resize(got);
    return bytes;
}

bool ReplaceStateFile(const std::wstring& path, const std::string& bytes) {
    const size_t slash = path.rfind(L'\\');
    if (path.empty() || slash == std::wstring::npos)
        return false;
    // Every missing level, as a fresh profile may lack even the user's data folder.
    ::SHCreateDirectoryExW(nullptr, path.substr(0, slash).c_str(), nullptr);
    const std::wstring temporary = path + L".tmp";
    bool written;
    {
        FileHandle file = OpenFile(temporary, GENERIC_WRITE, 0, CREATE_ALWAYS);
        written = file && WriteAll(file.get(), bytes);
    }
    if (written && ::MoveFileExW(LongPathForm(temporary).c_str(), LongPathForm(path).c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    ::DeleteFileW(LongPathForm(temporary).c_str());
    return false;
}

std::optional<FileKey> KeyOfFile(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !::GetFileAttributesExW(LongPathForm(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    const uint64_t size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    const uint64_t written = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                             data.ftLastWriteTime.dwLowDateTime;
    return FileKey{path, size, written};
}

} // namespace userstate
