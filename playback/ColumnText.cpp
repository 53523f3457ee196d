// A playlist row's column texts, kept with their markers in the row's user data.
#include "playback/ColumnText.h"

#include <algorithm>

namespace playlist {

namespace {

constexpr size_t kMarkerLength = 4;   // "{#k}"

} // namespace

std::wstring ColumnMarker(int column) {
    return std::wstring{L'{', L'#', static_cast<wchar_t>(L'0' + column), L'}'};
}

std::wstring_view ColumnText(std::wstring_view userData, int column) {
    if (!IsColumn(column))
        return {};
    if (column == 0) {
        const size_t end = userData.find(ColumnMarker(0));
        return end == std::wstring_view::npos ? std::wstring_view{} : userData.substr(0, end);
    }
    const size_t start = userData.find(ColumnMarker(column - 1));
    if (start == std::wstring_view::npos)
        return {};
    const size_t end = userData.find(ColumnMarker(column), start);
    if (end == std::wstring_view::npos)
        return {};
    return userData.substr(start + kMarkerLength, end - start - kMarkerLength);
}

std::wstring_view ShownColumnText(std::wstring_view userData, std::wstring_view rowPath, int column) {
    if (column == 0 && userData.size() >= kMarkerLength) {
        const std::wstring_view name = userData.substr(0, userData.size() - kMarkerLength);
        const size_t slash = rowPath.find_last_of(L"\\/");
        const std::wstring_view fileName = slash == std::wstring_view::npos ? rowPath : rowPath.substr(slash + 1);
        if (name == fileName && userData.substr(name.size()) == ColumnMarker(0))
            return name;
    }
    return ColumnText(userData, column);
}

std::wstring ReplaceColumnText(std::wstring_view userData, int column, std::wstring_view text) {
    std::wstring out(userData);
    if (!IsColumn(column))
        return out;
    const std::wstring marker = ColumnMarker(column);
    const std::wstring from = std::wstring(ColumnText(userData, column)) + marker;
    const std::wstring to = std::wstring(text) + marker;
    for (size_t at = out.find(from); at != std::wstring::npos; at = out.find(from, at + to.size())) {
        out.replace(at, from.size(), to);
    }
    return out;
}

void CopyCut(std::wstring_view text, wchar_t* buffer, size_t capacity) {
    if (!buffer || capacity == 0)
        return;
    const size_t count = std::min(text.size(), capacity - 1);
    std::copy_n(text.data(), count, buffer);
    buffer[count] = L'\0';
}

} // namespace playlist
