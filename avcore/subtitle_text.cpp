#include "avcore/subtitle_text.h"

#include <windows.h>

#include <cstdint>
#include <optional>

namespace avcore {

namespace {

constexpr UINT kCodePageGb18030 = 54936;
constexpr UINT kCodePageGbk = 936;  // GB18030's two-byte part, for systems without 54936 (Wine)

void AppendCodePoint(std::wstring& out, uint32_t cp)
{
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<wchar_t>(cp));
    }
}

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF. With lenient
// set, a bad sequence becomes U+FFFD instead of failing (a file whose BOM says UTF-8).
std::optional<std::wstring> DecodeUtf8(std::string_view s, bool lenient)
{
    std::wstring out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const uint8_t b = static_cast<uint8_t>(s[i]);
        const int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        uint32_t cp = extra == 0 ? b : extra == 1 ? b & 0x1F : extra == 2 ? b & 0x0F : b & 0x07;
        bool ok = extra >= 0 && i + extra < s.size();
        for (int k = 1; ok && k <= extra; ++k) {
            const uint8_t c = static_cast<uint8_t>(s[i + k]);
            ok = (c & 0xC0) == 0x80;
            cp = (cp << 6) | (c & 0x3F);
        }
        static constexpr uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
        ok = ok && cp >= kLeast[extra] && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
        if (!ok) {
            if (!lenient) return std::nullopt;
            out.push_back(L'\xFFFD');
            ++i;
            continue;
        }
        AppendCodePoint(out, cp);
        i += extra + 1;
    }
    return out;
}

std::wstring DecodeUtf16(std::string_view s, bool bigEndian)
{
    std::wstring out;
    out.reserve(s.size() / 2);
    for (size_t i = 0; i + 1 < s.size(); i += 2) {
        const uint8_t a = static_cast<uint8_t>(s[i]), b = static_cast<uint8_t>(s[i + 1]);
        out.push_back(static_cast<wchar_t>(bigEndian ? (a << 8) | b : (b << 8) | a));
    }
    return out;
}

std::optional<std::wstring> DecodeCodePage(std::string_view s, UINT codePage, DWORD flags)
{
    if (s.empty()) return std::wstring();
    if (s.size() > static_cast<size_t>(INT32_MAX)) return std::nullopt;
    const int n = MultiByteToWideChar(codePage, flags, s.data(), static_cast<int>(s.size()), nullptr, 0);
    if (n <= 0) return std::nullopt;
    std::wstring out(static_cast<size_t>(n), L'\0');
    if (MultiByteToWideChar(codePage, flags, s.data(), static_cast<int>(s.size()), out.data(), n) != n)
        return std::nullopt;
    return out;
}

bool StartsWith(std::string_view s, std::string_view prefix)
{
    return s.substr(0, prefix.size()) == prefix;
}

} // namespace

DecodedText DecodeSubtitleBytes(std::string_view bytes)
{
    if (StartsWith(bytes, "\xEF\xBB\xBF"))
        return {*DecodeUtf8(bytes.substr(3), true), TextEncoding::Utf8Bom};
    if (StartsWith(bytes, "\xFF\xFE")) return {DecodeUtf16(bytes.substr(2), false), TextEncoding::Utf16Le};
    if (StartsWith(bytes, "\xFE\xFF")) return {DecodeUtf16(bytes.substr(2), true), TextEncoding::Utf16Be};
    if (auto utf8 = DecodeUtf8(bytes, false)) return {std::move(*utf8), TextEncoding::Utf8};
    static const UINT gbCodePage = IsValidCodePage(kCodePageGb18030) ? kCodePageGb18030 : kCodePageGbk;
    if (auto gb = DecodeCodePage(bytes, gbCodePage, MB_ERR_INVALID_CHARS))
        return {std::move(*gb), TextEncoding::Gb18030};
    return {DecodeCodePage(bytes, CP_ACP, 0).value_or(std::wstring()), TextEncoding::Ansi};
}

} // namespace avcore
