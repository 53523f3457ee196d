#pragma once
// A cheap look at a file before Media Foundation gets it.
#include <string>

namespace avcore {

// False for missing paths, folders and empty files: refused before Media Foundation
// spends a second on them.
bool LooksLikeAFile(const std::wstring& path);

// False for an MP4/MOV-family file (first box "ftyp") whose top-level boxes hold no
// "moov" index before the file ends: a download cut short, which no reader can play
// (and which has been seen to hang Wine's reader for good). True for anything else.
bool IsoIndexPresent(const std::wstring& path);

} // namespace avcore
