#include "avcore/subtitle_file.h"

#include <string>
#include <string_view>
#include <cwctype>

#include "avcore/subtitle_parse.h"
#include "avcore/subtitle_text.h"
#include "avcore/win_handle.h"

namespace avcore {

namespace {

bool EndsWithNoCase(std::wstring_view s, std::wstring_view suffix)
{
    if (s.size() < suffix.size()) return false;
    for (size_t i = 0; i < suffix.size(); ++i)
        if (std::towlower(s[s.size() - suffix.size() + i]) != suffix[i]) return false;
    return true;
}

// By the name, and by the content for a script saved under another name.
SubtitleFormat FormatOf(std::wstring_view path, std::wstring_view text)
{
    if (EndsWithNoCase(path, L".ass") || EndsWithNoCase(path, L".ssa")) return SubtitleFormat::Ass;
    const size_t first = text.find_first_not_of(L" \t\r\n");
    return first != std::wstring_view::npos && text.substr(first, 13) == L"[Script Info]" ? SubtitleFormat::Ass
                                                                                           : SubtitleFormat::Srt;
}

} // namespace

SubtitleLoad LoadSubtitleFile(const wchar_t* path, SubtitleTrack& track)
{
    if (!path || !*path) return kSubtitlesUnreadable;
    UniqueHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) return kSubtitlesUnreadable;
    LARGE_INTEGER size{};
    if (GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileSizeEx(file.get(), &size)) return kSubtitlesUnreadable;
    if (static_cast<uint64_t>(size.QuadPart) > kMaxSubtitleFileBytes) return kSubtitlesTooLarge;
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)))
        return kSubtitlesUnreadable;
    bytes.resize(read);
    const DecodedText decoded = DecodeSubtitleBytes(bytes);
    switch (ParseSubtitles(decoded.text, FormatOf(path, decoded.text), track)) {
    case SubtitleParse::Ok: return kSubtitlesLoaded;
    case SubtitleParse::TooManyCues: return kSubtitlesTooManyCues;
    case SubtitleParse::NoCues: break;
    }
    return kSubtitlesNoCues;
}

} // namespace avcore
