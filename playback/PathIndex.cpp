// The playlist's duplicate test: known paths by length and a case-blind key.
#include "playback/PathIndex.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cwchar>

namespace playlist {

namespace {

constexpr DWORD kKeyFlags = LCMAP_SORTKEY | NORM_IGNORECASE;

// lstrcmpiW compares by the thread's locale.
LCID CompareLocale() { return ::GetThreadLocale(); }

int MapSortKey(const wchar_t* path, size_t length, char* key, int keyBytes) {
    // The sort key is bytes; LCMapStringW takes its buffer as wide characters all the same.
    return ::LCMapStringW(CompareLocale(), kKeyFlags, path, static_cast<int>(length),
                          reinterpret_cast<LPWSTR>(key), keyBytes);
}

} // namespace

bool SamePath(const wchar_t* path, size_t length, const std::wstring& known) {
    return path && known.size() == length && ::lstrcmpiW(known.c_str(), path) == 0;
}

void PathIndex::Clear() {
    m_buckets.clear();
    m_unkeyed.clear();
    m_size = 0;
}

std::string PathIndex::KeyOf(const wchar_t* path, size_t length) {
    if (length == 0 || length > static_cast<size_t>(INT_MAX / 16))
        return {};
    // A guess that fits most keys, so most paths take one call.
    std::string key(length * 6 + 32, '\0');
    int bytes = MapSortKey(path, length, key.data(), static_cast<int>(key.size()));
    if (bytes == 0 && ::GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        const int needed = MapSortKey(path, length, nullptr, 0);
        if (needed <= 0)
            return {};
        key.assign(static_cast<size_t>(needed), '\0');
        bytes = MapSortKey(path, length, key.data(), needed);
    }
    key.resize(bytes > 0 ? static_cast<size_t>(bytes) : 0);
    return key;
}

void PathIndex::Add(const std::wstring& path) {
    ++m_size;
    std::string key = KeyOf(path.c_str(), path.size());
    if (key.empty())
        m_unkeyed.push_back(path);
    else
        m_buckets[std::move(key)].push_back(path);
}

bool PathIndex::Contains(const wchar_t* path) const {
    if (!path || m_size == 0)
        return false;
    const size_t length = std::wcslen(path);
    const auto anyMatch = [&](const std::vector<std::wstring>& known) {
        return std::any_of(known.begin(), known.end(),
                           [&](const std::wstring& k) { return SamePath(path, length, k); });
    };
    if (anyMatch(m_unkeyed))
        return true;
    const std::string key = KeyOf(path, length);
    if (key.empty()) {
        // No key for the path itself: only a walk over everything keeps the test exact.
        return std::any_of(m_buckets.begin(), m_buckets.end(),
                           [&](const auto& bucket) { return anyMatch(bucket.second); });
    }
    const auto it = m_buckets.find(key);
    return it != m_buckets.end() && anyMatch(it->second);
}

} // namespace playlist
