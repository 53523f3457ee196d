// The version resource as Windows reads it (Explorer's Details tab does the same):
// the fixed numbers and the strings of the language the exe announces.
#include <gtest/gtest.h>

#include <windows.h>
#include <string>
#include <vector>
#include "support/paths.h"

namespace {

class VersionResource : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring exe = testsupport::WindowsPath(MORVANE_EXE_PATH);
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
        ASSERT_GT(size, 0u) << "no version resource in the exe";
        block.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, block.data()));
    }

    // A value of the StringFileInfo table that \VarFileInfo\Translation names first.
    std::wstring Text(const wchar_t* name) {
        struct Translation {
            WORD language, codePage;
        }* translation = nullptr;
        UINT bytes = 0;
        if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &bytes) ||
            bytes < sizeof(Translation))
            return L"<no translation>";
        wchar_t path[128];
        swprintf(path, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translation->language, translation->codePage, name);
        wchar_t* value = nullptr;
        if (!VerQueryValueW(block.data(), path, reinterpret_cast<void**>(&value), &bytes)) return L"<missing>";
        return std::wstring(value, wcsnlen(value, bytes));
    }

    std::vector<BYTE> block;
};

TEST_F(VersionResource, NumbersComeFromTheBuildVersion) {
    VS_FIXEDFILEINFO* info = nullptr;
    UINT bytes = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &bytes));
    ASSERT_GE(bytes, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(info->dwSignature, 0xFEEF04BDu);
    const DWORD high = MAKELONG(MORVANE_VERSION_MINOR, MORVANE_VERSION_MAJOR);
    const DWORD low = MAKELONG(0, MORVANE_VERSION_PATCH);
    EXPECT_EQ(info->dwFileVersionMS, high);
    EXPECT_EQ(info->dwFileVersionLS, low);
    EXPECT_EQ(info->dwProductVersionMS, high);
    EXPECT_EQ(info->dwProductVersionLS, low);
    EXPECT_EQ(info->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST_F(VersionResource, NamesTheProductInTheAnnouncedLanguage) {
    const std::wstring version = L"" MORVANE_VERSION_STRING;
    const std::pair<const wchar_t*, std::wstring> expected[] = {
        {L"ProductName", L"Morvane"},
        {L"FileDescription", L"Morvane video player"},
        {L"FileVersion", version},
        {L"ProductVersion", version},
        {L"OriginalFilename", L"Morvane.exe"},
    };
    for (const auto& [name, value] : expected) EXPECT_EQ(Text(name), value) << name;
}

} // namespace
