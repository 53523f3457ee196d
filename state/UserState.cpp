// The user's remembered state as a value, and its JSON form read field by field.
#include "state/UserState.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>

#include "playback/PathIndex.h"
#include "state/ResumePositions.h"

namespace userstate {

namespace {

using nlohmann::json;

constexpr const char* kRows = "rows";
constexpr const char* kSelected = "selected";
constexpr const char* kVolume = "volume";
constexpr const char* kMuted = "muted";
constexpr const char* kWindow = "window";
constexpr const char* kListShown = "listShown";
constexpr const char* kPositions = "positions";
constexpr const char* kSpeed = "speed";
constexpr const char* kAudioTrack = "audioTrack";   // of a position
constexpr const char* kKnown[] = {kRows, kSelected, kVolume, kMuted, kSpeed, kWindow, kListShown, kPositions};

// Far beyond any desktop, still safe to add and subtract in an int.
constexpr int64_t kMaxCoordinate = 1 << 20;

std::string Utf8(const std::wstring& text) {
    if (text.empty())
        return {};
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring Wide(const std::string& text) {
    if (text.empty())
        return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

// The member's value when it is present and of the type asked for.
const json* Member(const json& object, const char* name) {
    if (!object.is_object())
        return nullptr;
    const auto it = object.find(name);
    return it == object.end() ? nullptr : &*it;
}

std::optional<int64_t> IntegerIn(const json& object, const char* name, int64_t low, int64_t high) {
    const json* value = Member(object, name);
    if (!value || !value->is_number_integer())
        return std::nullopt;
    // An unsigned beyond int64 reads as negative here; the range test refuses it as well.
    const int64_t n = value->is_number_unsigned() && value->get<uint64_t>() > static_cast<uint64_t>(INT64_MAX)
                          ? -1
                          : value->get<int64_t>();
    if (n < low || n > high)
        return std::nullopt;
    return n;
}

std::optional<uint64_t> Unsigned(const json& object, const char* name) {
    const json* value = Member(object, name);
    if (!value || !value->is_number_unsigned())
        return std::nullopt;
    return value->get<uint64_t>();
}

// A speed the keys can reach: 0.5 to 2.0 in quarter steps; anything else is normal speed.
double Speed(const json& object) {
    const auto it = object.find(kSpeed);
    if (it == object.end() || !it->is_number())
        return 1.0;
    const double v = it->get<double>();
    return v >= 0.5 && v <= 2.0 && std::floor(v * 4) == v * 4 ? v : 1.0;
}

std::optional<bool> Boolean(const json& object, const char* name) {
    const json* value = Member(object, name);
    if (!value || !value->is_boolean())
        return std::nullopt;
    return value->get<bool>();
}

std::wstring NonEmptyString(const json& value) {
    return value.is_string() ? Wide(value.get<std::string>()) : std::wstring();
}

// Rows in order without repeats; the selection follows its row to where it stays.
void ReadRows(const json& root, UserState& state) {
    const json* rows = Member(root, kRows);
    if (!rows || !rows->is_array())
        return;
    const std::optional<int64_t> selected = IntegerIn(root, kSelected, 0, static_cast<int64_t>(rows->size()) - 1);
    playlist::PathIndex known;
    for (size_t i = 0; i < rows->size(); ++i) {
        const std::wstring path = NonEmptyString((*rows)[i]);
        if (path.empty())
            continue;
        const bool repeated = known.Contains(path.c_str());
        if (selected && static_cast<size_t>(*selected) == i) {
            state.selected = static_cast<int>(state.rows.size());
            if (repeated) {
                for (size_t r = 0; r < state.rows.size(); ++r)
                    if (SameFilePath(state.rows[r], path))
                        state.selected = static_cast<int>(r);
            }
        }
        if (!repeated) {
            known.Add(path);
            state.rows.push_back(path);
        }
    }
}

std::optional<WindowPlace> ReadWindow(const json& root) {
    const json* window = Member(root, kWindow);
    if (!window)
        return std::nullopt;
    const auto left = IntegerIn(*window, "left", -kMaxCoordinate, kMaxCoordinate);
    const auto top = IntegerIn(*window, "top", -kMaxCoordinate, kMaxCoordinate);
    const auto right = IntegerIn(*window, "right", -kMaxCoordinate, kMaxCoordinate);
    const auto bottom = IntegerIn(*window, "bottom", -kMaxCoordinate, kMaxCoordinate);
    if (!left || !top || !right || !bottom || *right <= *left || *bottom <= *top)
        return std::nullopt;
    WindowPlace place{static_cast<int>(*left), static_cast<int>(*top), static_cast<int>(*right),
                      static_cast<int>(*bottom), Boolean(*window, "maximized").value_or(false)};
    return place;
}

void ReadPositions(const json& root, UserState& state) {
    const json* positions = Member(root, kPositions);
    if (!positions || !positions->is_array())
        return;
    // From the latest back: the latest entry of a path wins, and beyond the limit the
    // least recently played go. One index lookup each, as a start reads them all.
    playlist::PathIndex seen;
    for (auto it = positions->rbegin(); it != positions->rend() && state.positions.size() < kMaxRememberedFiles; ++it) {
        const json& entry = *it;
        const json* seconds = Member(entry, "seconds");
        const std::optional<uint64_t> size = Unsigned(entry, "size");
        const std::optional<uint64_t> written = Unsigned(entry, "written");
        const std::wstring path = Member(entry, "path") ? NonEmptyString(*Member(entry, "path")) : std::wstring();
        if (path.empty() || !size || !written || !seconds || !seconds->is_number() || seen.Contains(path.c_str()))
            continue;
        const double at = seconds->get<double>();
        if (!std::isfinite(at) || at < 0)
            continue;
        seen.Add(path);
        const int track = static_cast<int>(IntegerIn(entry, kAudioTrack, 1, kMaxAudioTrack).value_or(0));
        state.positions.push_back({FileKey{path, *size, *written}, at, track});
    }
    std::reverse(state.positions.begin(), state.positions.end());
}

} // namespace

UserState ParseUserState(std::string_view utf8) {
    UserState state;
    const json root = json::parse(utf8.begin(), utf8.end(), nullptr, false);
    if (!root.is_object())
        return state;
    ReadRows(root, state);
    state.volume = static_cast<int>(IntegerIn(root, kVolume, 0, 100).value_or(kDefaultVolume));
    state.muted = Boolean(root, kMuted).value_or(false);
    state.speed = Speed(root);
    state.window = ReadWindow(root);
    state.listShown = Boolean(root, kListShown).value_or(true);
    ReadPositions(root, state);

    json unknown = json::object();
    for (auto it = root.begin(); it != root.end(); ++it) {
        if (std::find_if(std::begin(kKnown), std::end(kKnown), [&](const char* k) { return it.key() == k; }) ==
            std::end(kKnown))
            unknown[it.key()] = it.value();
    }
    if (!unknown.empty())
        state.unknownFields = unknown.dump();
    return state;
}

std::string SerializeUserState(const UserState& state) {
    json root = json::parse(state.unknownFields, nullptr, false);
    if (!root.is_object())
        root = json::object();

    json rows = json::array();
    for (const std::wstring& row : state.rows)
        rows.push_back(Utf8(row));
    root[kRows] = std::move(rows);
    root[kSelected] = state.selected;
    root[kVolume] = state.volume;
    root[kMuted] = state.muted;
    root[kSpeed] = state.speed;
    if (state.window) {
        const WindowPlace& w = *state.window;
        root[kWindow] = {{"left", w.left}, {"top", w.top}, {"right", w.right}, {"bottom", w.bottom},
                         {"maximized", w.maximized}};
    } else {
        root.erase(kWindow);
    }
    root[kListShown] = state.listShown;
    json positions = json::array();
    for (const RememberedPosition& p : state.positions) {
        positions.push_back({{"path", Utf8(p.key.path)}, {"size", p.key.size}, {"written", p.key.writeTime},
                             {"seconds", p.seconds}});
        if (p.audioTrack > 0)   // only where chosen: files of earlier versions look the same
            positions.back()[kAudioTrack] = p.audioTrack;
    }
    root[kPositions] = std::move(positions);
    // Our own strings are valid UTF-8; the replacement keeps a foreign one from throwing.
    return root.dump(1, '\t', false, json::error_handler_t::replace) + "\n";
}

} // namespace userstate
