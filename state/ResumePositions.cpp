// Where each recent file was left, and which places are worth coming back to.
#include "state/ResumePositions.h"

#include <algorithm>
#include <cmath>

#include "playback/PathIndex.h"

namespace userstate {

bool SameFilePath(const std::wstring& a, const std::wstring& b) {
    return playlist::SamePath(a.c_str(), a.size(), b);
}

void KeepAsMostRecent(std::vector<RememberedPosition>& positions, RememberedPosition entry) {
    std::erase_if(positions, [&](const RememberedPosition& p) { return SameFilePath(p.key.path, entry.key.path); });
    positions.push_back(std::move(entry));
    if (positions.size() > kMaxRememberedFiles)
        positions.erase(positions.begin(), positions.end() - static_cast<std::ptrdiff_t>(kMaxRememberedFiles));
}

void RecordLeftAt(std::vector<RememberedPosition>& positions, const FileKey& key, double seconds, double duration,
                  int audioTrack) {
    const bool worthResuming = std::isfinite(seconds) && std::isfinite(duration) && seconds > kResumeMarginSeconds &&
                               seconds < duration - kResumeMarginSeconds;
    if (worthResuming)
        KeepAsMostRecent(positions, {key, seconds, audioTrack});
    else
        std::erase_if(positions, [&](const RememberedPosition& p) { return SameFilePath(p.key.path, key.path); });
}

namespace {

const RememberedPosition* Find(const std::vector<RememberedPosition>& positions, const FileKey& key) {
    const auto it = std::find_if(positions.begin(), positions.end(), [&](const RememberedPosition& p) {
        return p.key.size == key.size && p.key.writeTime == key.writeTime && SameFilePath(p.key.path, key.path);
    });
    return it == positions.end() ? nullptr : &*it;
}

} // namespace

std::optional<double> ResumeAt(const std::vector<RememberedPosition>& positions, const FileKey& key) {
    const RememberedPosition* found = Find(positions, key);
    return found ? std::optional<double>(found->seconds) : std::nullopt;
}

int AudioTrackAt(const std::vector<RememberedPosition>& positions, const FileKey& key) {
    const RememberedPosition* found = Find(positions, key);
    return found ? found->audioTrack : 0;
}

} // namespace userstate
