#pragma once
// File-system paths of any length: the running exe's name, and the form CreateFileW
// needs to reach a path of MAX_PATH or more.
#include <string>

namespace DuiLib {

// Full path of the running exe, never cut to MAX_PATH; false when Windows cannot name it.
bool GetModulePath(std::wstring& out);
// The folder of the running exe, without a trailing backslash; empty when unknown.
std::wstring GetModuleFolder();

// The prefix of the extended form, which the file-system calls take literally.
inline constexpr const wchar_t* kExtendedPathPrefix = L"\\\\?\\";
// fullPath (a drive path or a UNC name, made whole) in the extended form; a path
// already in it, or a device path (\\.\), unchanged.
std::wstring ExtendedPathForm(const std::wstring& fullPath);
// path in the \\?\ form when it is MAX_PATH long or more (and absolute); else unchanged.
std::wstring LongPathForm(const std::wstring& path);

} // namespace DuiLib
