#pragma once
// The playlist's duplicate test over many paths: a path is known when a known path has
// the same length in UTF-16 units and lstrcmpiW finds the two equal. Candidates are
// found through the case-blind sort key of the locale lstrcmpiW compares by (equal
// strings have equal keys), so a lookup does not walk every known path.
#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

namespace playlist {

// The duplicate test for one pair: same length and lstrcmpiW-equal.
bool SamePath(const wchar_t* path, size_t length, const std::wstring& known);

class PathIndex {
public:
    void Clear();
    void Add(const std::wstring& path);
    // SamePath with some added path; false for a null path.
    bool Contains(const wchar_t* path) const;
    size_t Size() const { return m_size; }

private:
    // The sort key's bytes; empty when the system cannot make one.
    static std::string KeyOf(const wchar_t* path, size_t length);

    std::unordered_map<std::string, std::vector<std::wstring>> m_buckets;
    std::vector<std::wstring> m_unkeyed;   // paths without a key, compared one by one
    size_t m_size = 0;
};

} // namespace playlist
