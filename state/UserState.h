#pragma once
// What the player remembers of the user between runs, as a value, and its JSON form.
// Reading never fails: each field the text lacks, or holds with a wrong type or out
// of range, keeps its default, and the others are still taken.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace userstate {

inline constexpr int kDefaultVolume = 50;   // the volume slider's value in the layout

// The main window's normal rectangle (workspace coordinates, as GetWindowPlacement
// gives it) and whether it was maximised.
struct WindowPlace {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool maximized = false;
    bool operator==(const WindowPlace&) const = default;
};

// A file as it was when played: another size or write time is another file.
struct FileKey {
    std::wstring path;
    uint64_t size = 0;
    uint64_t writeTime = 0;   // FILETIME as one number
    bool operator==(const FileKey&) const = default;
};

inline constexpr int kMaxAudioTrack = 64;   // a remembered track number beyond this is not taken

struct RememberedPosition {
    FileKey key;
    double seconds = 0;
    int audioTrack = 0;   // the sound track chosen for the file, from 1; 0: the file's first
    bool operator==(const RememberedPosition&) const = default;
};

struct UserState {
    std::vector<std::wstring> rows;   // the playlist's full paths, in order, no two alike
    int selected = -1;                // row index, or -1
    int volume = kDefaultVolume;      // 0..100
    bool muted = false;
    double speed = 1.0;               // playback speed: 0.5..2.0 in quarter steps
    std::optional<WindowPlace> window;
    bool listShown = true;
    std::vector<RememberedPosition> positions;   // least recently played first
    // The members of the file's top object this player does not know, as a JSON
    // object's text; written back unchanged.
    std::string unknownFields;
    bool operator==(const UserState&) const = default;
};

UserState ParseUserState(std::string_view utf8);
std::string SerializeUserState(const UserState& state);

} // namespace userstate
