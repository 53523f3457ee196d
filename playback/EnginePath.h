#pragma once
// The engine opens paths in the ANSI code page, at most 256 bytes long.
#include <string>

namespace DuiLib {

inline constexpr size_t kEnginePathMaxBytes = 256;

// What to hand the engine's open for a wide path. The ANSI form when it converts
// back to the same path and fits; otherwise the file's short (8.3) path when the
// volume has one and that converts cleanly; otherwise a form the engine cannot open
// (never a cut path, which could name another file).
std::string EnginePathFor(const std::wstring& path);

} // namespace DuiLib
