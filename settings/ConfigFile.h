#pragma once
// cfg.cfg, the only persisted state: the effect settings next to the exe.
#include <string>
#include "settings/EffectSettings.h"

// Directory of the running exe, without a trailing backslash, into out (MAX_PATH units).
// False, out untouched, when out is null, the module path is unavailable, or the
// directory would not fit (it is never truncated). A path with no backslash leaves
// out untouched and returns true.
bool GetExeDirectory(wchar_t* out);

// Same, with no length limit. False, out untouched, when the module path is unavailable.
bool GetExeDirectory(std::wstring& out);

// Full name of cfg.cfg next to the exe, in a form CreateFileW accepts at any length.
std::wstring ConfigFilePath();

// Overlays the file's first 8 bytes on io; bytes the file lacks keep io's value.
// A missing, locked or unreadable file leaves io as it was.
void ReadEffectSettings(const std::wstring& path, EffectSettings& io);

// Replaces the file with exactly 8 bytes, through "<path>.tmp" and one atomic move.
// False when that failed: the old file, if any, is as it was and no temporary stays.
bool WriteEffectSettings(const std::wstring& path, const EffectSettings& value);

// Writes the main window's m_effect to cfg.cfg (through g_pMainFrame); false when the
// file could not be replaced.
bool SaveConfig();
