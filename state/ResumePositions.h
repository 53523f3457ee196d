#pragma once
// Where each file was left: kept for the most recent files only, and only for a place
// worth coming back to, neither at the very start nor at the very end.
#include <cstddef>
#include <optional>
#include <vector>
#include "state/UserState.h"

namespace userstate {

inline constexpr size_t kMaxRememberedFiles = 500;
inline constexpr double kResumeMarginSeconds = 10.0;

// The file was left at seconds of duration: remembered as the most recently played
// when more than the margin lies on both sides, forgotten otherwise. Any older entry
// for the same path goes, so a replaced file leaves nothing behind; the least recently
// played are dropped beyond the limit. The sound track chosen goes with the place.
void RecordLeftAt(std::vector<RememberedPosition>& positions, const FileKey& key, double seconds, double duration,
                  int audioTrack = 0);

// Adds the entry as the most recently played, in place of any entry for its path,
// and drops the least recently played beyond the limit.
void KeepAsMostRecent(std::vector<RememberedPosition>& positions, RememberedPosition entry);

// The place to start the file at, when it is remembered under exactly this key.
std::optional<double> ResumeAt(const std::vector<RememberedPosition>& positions, const FileKey& key);
// The sound track remembered with that place; 0 when none was chosen.
int AudioTrackAt(const std::vector<RememberedPosition>& positions, const FileKey& key);

// The same path, compared as the playlist compares paths (case-blind).
bool SameFilePath(const std::wstring& a, const std::wstring& b);

} // namespace userstate
