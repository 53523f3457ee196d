#pragma once
// Shared by the skin tests: the archive this exe carries, and narrow text for messages.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "duilib/UIResource.h"

namespace skintest {

// Reads resource ZIPRES 131 of this exe and opens it.
inline bool LoadOwnArchive(std::vector<uint8_t>& bytes, DuiLib::CZipArchive& archive)
{
    HMODULE self = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(self, MAKEINTRESOURCEW(131), L"ZIPRES");
    if (!info) return false;
    HGLOBAL handle = LoadResource(self, info);
    const auto* data = handle ? static_cast<const uint8_t*>(LockResource(handle)) : nullptr;
    if (!data) return false;
    bytes.assign(data, data + SizeofResource(self, info));
    return archive.Open(bytes);
}

inline std::string Narrow(const wchar_t* text)
{
    if (!text || !*text) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    return out;
}

} // namespace skintest
