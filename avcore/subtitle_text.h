#pragma once
// Subtitle files to text: the encoding is told by a byte-order mark (UTF-8, UTF-16 LE
// or BE), else the bytes are taken as UTF-8 when they are valid UTF-8, else as GB18030
// (most Chinese subtitles) when valid, else in the system's ANSI code page.
#include <string>
#include <string_view>

namespace avcore {

enum class TextEncoding { Utf8Bom, Utf16Le, Utf16Be, Utf8, Gb18030, Ansi };

struct DecodedText {
    std::wstring text;
    TextEncoding encoding = TextEncoding::Utf8;
};

DecodedText DecodeSubtitleBytes(std::string_view bytes);

} // namespace avcore
