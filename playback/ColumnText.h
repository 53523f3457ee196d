#pragma once
// A playlist row keeps the texts the list paints in its user data, each column's text
// followed by its marker: "a.mkv{#0}" is column 0 "a.mkv". Columns run from 0 to 6.
#include <cstddef>
#include <string>
#include <string_view>

namespace playlist {

inline constexpr int kColumnCount = 7;

// 0 to 6 (a negative column is outside too).
inline bool IsColumn(int column) { return static_cast<unsigned>(column) < kColumnCount; }

// "{#k}" for column k (IsColumn).
std::wstring ColumnMarker(int column);

// Column 0: the text before the first "{#0}". Column k: the text between the first
// marker for k - 1 and the first marker for k after it. Empty when a marker is missing
// or the column is outside 0 to 6. The view points into userData.
std::wstring_view ColumnText(std::wstring_view userData, int column);

// What the list shows for column 0..6 of a row named by its full path. A row as the
// playlist makes it (its file name and one "{#0}") shows that name whole, even one
// holding a marker itself; other user data reads as ColumnText.
std::wstring_view ShownColumnText(std::wstring_view userData, std::wstring_view rowPath, int column);

// userData with every occurrence of (column's text + marker) replaced by (text + marker);
// unchanged for a column outside 0 to 6.
std::wstring ReplaceColumnText(std::wstring_view userData, int column, std::wstring_view text);

// Copies text into buffer (capacity >= 1 units), cut to capacity - 1 units, NUL-terminated.
void CopyCut(std::wstring_view text, wchar_t* buffer, size_t capacity);

} // namespace playlist
