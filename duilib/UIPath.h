#pragma once
// File-system paths of any length: the running exe's name, and the form CreateFileW
// needs to reach a path of MAX_PATH or more.
#include <string>

namespace DuiLib {

// Full path of the running exe, never cut to MAX_PATH; false when Windows cannot name it.
bool GetModulePath(std::wstring& out);
// The folder of the running exe, without a trailing backslash; empty when unknown.
std::wstring GetModuleFolder();

// path in the \\?\ form when it is MAX_PATH long or more (and absolute); else unchanged.
std::wstring LongPathForm(const std::wstring& path);

} // namespace DuiLib
