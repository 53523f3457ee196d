#pragma once
// The engine opens paths in the ANSI code page. A name the code page cannot say, or a
// path too long for it, goes through the file's short (8.3) path, and where the volume
// keeps no short names, through the engine's wide entry.
#include <windows.h>

#include <functional>
#include <string>

#include "avcore/avplayer.h"
#include "settings/EffectSettings.h"

namespace DuiLib {

// A path's short (8.3) form; empty when the volume keeps none or the file is missing.
using ShortPathLookup = std::function<std::wstring(const std::wstring&)>;
std::wstring SystemShortPath(const std::wstring& path);

// How the engine is to open a path: by an ANSI form (ansi set), by the wide path
// (wide set), or not at all (neither).
struct EngineOpenPath {
    std::string ansi;
    std::wstring wide;
};

// The ANSI form when it converts back to the same path and fits; otherwise the short
// path's, when it has one that does; otherwise the wide path (never a cut or lossy
// form, which could name another file). The look-up runs on a pool thread and is
// given up after budgetMs, since a share that went away can hold it for minutes:
// then neither form is set. The lookup is copied to that thread.
EngineOpenPath EngineOpenPathFor(const std::wstring& path, const ShortPathLookup& lookup, DWORD budgetMs);

// Opens path in player with the effect by the form above, the look-up within the
// engine's own budget for the path; open's result (0 when not opened).
int OpenInEngine(avplayer& player, const std::wstring& path, const EffectSettings& effect,
                 const ShortPathLookup& lookup = SystemShortPath);

} // namespace DuiLib
