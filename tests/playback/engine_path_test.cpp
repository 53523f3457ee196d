// The path handed to the engine: the ANSI form when it says the same path, else the
// short form, and never a path that names another file.
#include <gtest/gtest.h>

#include <windows.h>
#include <string>
#include "duilib/UIPath.h"
#include "playback/EnginePath.h"

using DuiLib::EnginePathFor;

namespace {

// Creates folders beyond MAX_PATH too, through the extended prefix.
void MakeFile(const std::wstring& path) {
    const std::wstring extended = L"\\\\?\\" + path;
    for (size_t at = extended.find(L'\\', 7); at != std::wstring::npos; at = extended.find(L'\\', at + 1))
        CreateDirectoryW(extended.substr(0, at).c_str(), nullptr);
    HANDLE h = CreateFileW(extended.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
}

bool SameFile(HANDLE a, HANDLE b) {
    BY_HANDLE_FILE_INFORMATION ia{}, ib{};
    return a != INVALID_HANDLE_VALUE && b != INVALID_HANDLE_VALUE && GetFileInformationByHandle(a, &ia) &&
           GetFileInformationByHandle(b, &ib) && ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
           ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

// The engine, opening the bytes it gets in the ANSI code page, reaches this very file.
::testing::AssertionResult EngineReaches(const std::wstring& path) {
    const std::string ansi = EnginePathFor(path);
    if (ansi.empty() || ansi.size() > DuiLib::kEnginePathMaxBytes)
        return ::testing::AssertionFailure() << "engine path of " << ansi.size() << " bytes";
    HANDLE wide = CreateFileW((L"\\\\?\\" + path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE narrow = CreateFileA(ansi.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    const bool same = SameFile(wide, narrow);
    if (wide != INVALID_HANDLE_VALUE) CloseHandle(wide);
    if (narrow != INVALID_HANDLE_VALUE) CloseHandle(narrow);
    return same ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << "\"" << ansi << "\" opens another file or none";
}

TEST(EnginePath, SaysTheSameFileInTheAnsiCodePage) {
    const std::wstring folder = DuiLib::GetModuleFolder() + L"\\engine-paths";
    const std::wstring plain = folder + L"\\clip one.mp4";
    const std::wstring foreign = folder + L"\\视频-Ωmega.mp4";
    const std::wstring deep = folder + L"\\" + std::wstring(120, L'd') + L"\\" + std::wstring(120, L'e') + L"\\long.mp4";
    for (const std::wstring& path : {plain, foreign, deep}) {
        MakeFile(path);
        EXPECT_TRUE(EngineReaches(path)) << path.size() << " characters";
    }

    // A path the code page says plainly goes through unchanged.
    std::string expected(plain.size(), '\0');
    WideCharToMultiByte(CP_ACP, 0, plain.c_str(), -1, expected.data(), static_cast<int>(expected.size()) + 1, nullptr, nullptr);
    EXPECT_EQ(EnginePathFor(plain), expected);
}

TEST(EnginePath, NeverHandsOverACutPath) {
    // Too long and no short form (the file does not exist): nothing, so open fails.
    const std::wstring missing = DuiLib::GetModuleFolder() + L"\\" + std::wstring(300, L'x') + L".mp4";
    EXPECT_EQ(EnginePathFor(missing), "");
    EXPECT_EQ(EnginePathFor(L""), "");
}

} // namespace
