#include "avcore/subtitle_parse.h"

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <optional>
#include <vector>

namespace avcore {

namespace {

constexpr double kDefaultPlayResY = 288.0;  // what ASS renderers assume when the script names none

std::vector<std::wstring_view> SplitLines(std::wstring_view text)
{
    std::vector<std::wstring_view> lines;
    size_t begin = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'\n' && text[i] != L'\r') continue;
        lines.push_back(text.substr(begin, i - begin));
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        begin = i + 1;
    }
    if (begin < text.size()) lines.push_back(text.substr(begin));
    return lines;
}

std::wstring_view Trim(std::wstring_view s)
{
    while (!s.empty() && std::iswspace(s.front())) s.remove_prefix(1);
    while (!s.empty() && std::iswspace(s.back())) s.remove_suffix(1);
    return s;
}

bool StartsWithNoCase(std::wstring_view s, std::wstring_view prefix)
{
    if (s.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::towlower(s[i]) != std::towlower(prefix[i])) return false;
    return true;
}

bool EqualNoCase(std::wstring_view a, std::wstring_view b)
{
    return a.size() == b.size() && StartsWithNoCase(a, b);
}

// Reads up to maxDigits decimal digits; none read is a failure.
std::optional<long long> Digits(std::wstring_view& s, size_t maxDigits)
{
    long long value = 0;
    size_t n = 0;
    while (n < s.size() && n < maxDigits && s[n] >= L'0' && s[n] <= L'9') value = value * 10 + (s[n++] - L'0');
    if (n == 0) return std::nullopt;
    s.remove_prefix(n);
    return value;
}

bool Take(std::wstring_view& s, wchar_t c)
{
    if (s.empty() || s.front() != c) return false;
    s.remove_prefix(1);
    return true;
}

// h:mm:ss followed by a fraction after ',' or '.' (SRT milliseconds, ASS centiseconds).
// A negative time has a sign and so never reads.
std::optional<double> ParseClock(std::wstring_view s)
{
    s = Trim(s);
    const auto h = Digits(s, 6);
    if (!h || !Take(s, L':')) return std::nullopt;
    const auto m = Digits(s, 2);
    if (!m || *m > 59 || !Take(s, L':')) return std::nullopt;
    const auto sec = Digits(s, 2);
    if (!sec || *sec > 59) return std::nullopt;
    double fraction = 0.0;
    if (Take(s, L',') || Take(s, L'.')) {
        const size_t before = s.size();
        const auto f = Digits(s, 3);
        if (!f) return std::nullopt;
        fraction = *f / std::pow(10.0, static_cast<double>(before - s.size()));
    }
    if (!Trim(s).empty()) return std::nullopt;
    return *h * 3600.0 + *m * 60.0 + *sec + fraction;
}

// "#RRGGBB", "RRGGBB" or a few names, as SRT's <font color> writes them.
uint32_t ParseHtmlColour(std::wstring_view v)
{
    if (!v.empty() && v.front() == L'#') v.remove_prefix(1);
    if (v.size() == 6) {
        uint32_t c = 0;
        for (wchar_t ch : v) {
            const int d = std::iswdigit(ch) ? ch - L'0' : (std::towlower(ch) >= L'a' && std::towlower(ch) <= L'f')
                                                            ? std::towlower(ch) - L'a' + 10 : -1;
            if (d < 0) return 0;
            c = c * 16 + d;
        }
        return c ? c : 0x010101;
    }
    static constexpr struct { const wchar_t* name; uint32_t rgb; } kNames[] = {
        {L"white", 0xFFFFFF}, {L"yellow", 0xFFFF00}, {L"red", 0xFF0000}, {L"green", 0x00FF00},
        {L"blue", 0x0000FF}, {L"cyan", 0x00FFFF}, {L"magenta", 0xFF00FF}, {L"black", 0x010101}};
    for (const auto& n : kNames)
        if (EqualNoCase(v, n.name)) return n.rgb;
    return 0;
}

// ASS colours: &HAABBGGRR (hex, alpha ignored) or an SSA decimal BGR number.
std::optional<uint32_t> ParseAssColour(std::wstring_view v)
{
    v = Trim(v);
    unsigned long long raw = 0;
    bool any = false;
    if (StartsWithNoCase(v, L"&H")) {
        for (wchar_t ch : v.substr(2)) {
            const wchar_t l = std::towlower(ch);
            const int d = std::iswdigit(l) ? l - L'0' : (l >= L'a' && l <= L'f') ? l - L'a' + 10 : -1;
            if (d < 0) break;
            raw = (raw * 16 + d) & 0xFFFFFFFFull;
            any = true;
        }
    } else {
        for (wchar_t ch : v) {
            if (!std::iswdigit(ch)) break;
            raw = (raw * 10 + (ch - L'0')) & 0xFFFFFFFFull;
            any = true;
        }
    }
    if (!any) return std::nullopt;
    const uint32_t r = raw & 0xFF, g = (raw >> 8) & 0xFF, b = (raw >> 16) & 0xFF;
    const uint32_t rgb = (r << 16) | (g << 8) | b;
    return rgb ? rgb : 0x010101;
}

// SRT markup: tags in <> are taken out, <b>, <i> and <font color> set the whole cue's look;
// ASS-style {\...} blocks some SRT files carry are taken out too.
void CleanSrtText(SubtitleCue& cue, std::wstring_view raw)
{
    std::wstring out;
    out.reserve(raw.size());
    // Past the last closing mark nothing closes: a line of unclosed '<' costs one pass, not one per mark.
    const size_t lastAngle = raw.rfind(L'>'), lastBrace = raw.rfind(L'}');
    for (size_t i = 0; i < raw.size();) {
        const wchar_t c = raw[i];
        const bool opensTag = c == L'<' && lastAngle != std::wstring_view::npos && i < lastAngle;
        const bool opensBlock = c == L'{' && lastBrace != std::wstring_view::npos && i < lastBrace &&
                                i + 1 < raw.size() && raw[i + 1] == L'\\';
        const size_t close = opensTag ? raw.find(L'>', i) : opensBlock ? raw.find(L'}', i) : std::wstring_view::npos;
        if (close == std::wstring_view::npos) {
            out.push_back(c);
            ++i;
            continue;
        }
        const std::wstring_view tag = Trim(raw.substr(i + 1, close - i - 1));
        if (c == L'<') {
            if (EqualNoCase(tag, L"b")) cue.bold = true;
            if (EqualNoCase(tag, L"i")) cue.italic = true;
            const size_t colour = StartsWithNoCase(tag, L"font") ? tag.find(L"color=") : std::wstring_view::npos;
            if (colour != std::wstring_view::npos) {
                std::wstring_view v = tag.substr(colour + 6);
                if (!v.empty() && (v.front() == L'"' || v.front() == L'\'')) v.remove_prefix(1);
                const size_t stop = v.find_first_of(L"\"' ");
                cue.colour = ParseHtmlColour(v.substr(0, stop));
            }
        }
        i = close + 1;
    }
    cue.text = std::move(out);
}

SubtitleParse ParseSrt(const std::vector<std::wstring_view>& lines, SubtitleTrack& track)
{
    SubtitleCue cue;
    std::wstring text;
    bool inCue = false;
    auto finishCue = [&] {
        if (inCue && cue.end > cue.start) {
            CleanSrtText(cue, text);
            if (!Trim(cue.text).empty()) track.cues.push_back(std::move(cue));
        }
        cue = SubtitleCue{};
        text.clear();
        inCue = false;
    };
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::wstring_view line = lines[n];
        const size_t arrow = line.find(L"-->");
        if (arrow != std::wstring_view::npos) {
            std::wstring_view endPart = line.substr(arrow + 3);
            endPart = Trim(endPart);
            endPart = endPart.substr(0, endPart.find(L' '));  // position hints after the time
            const auto start = ParseClock(line.substr(0, arrow));
            const auto end = ParseClock(endPart);
            if (start && end) {
                // A cue that runs into the next without a blank line: its number line is not text.
                if (inCue && n > 0 && !lines[n - 1].empty() && Trim(lines[n - 1]).find_first_not_of(L"0123456789") ==
                                                                   std::wstring_view::npos) {
                    const size_t cut = text.rfind(L'\n');
                    text.resize(cut == std::wstring::npos ? 0 : cut);
                }
                finishCue();
                cue.start = *start;
                cue.end = *end;
                inCue = true;
                if (track.cues.size() > kMaxSubtitleCues) return SubtitleParse::TooManyCues;
                continue;
            }
        }
        if (Trim(line).empty()) {
            finishCue();
            continue;
        }
        if (!inCue) continue;  // numbers and stray lines between cues
        if (!text.empty()) text.push_back(L'\n');
        text.append(line);
    }
    finishCue();
    return track.cues.size() > kMaxSubtitleCues ? SubtitleParse::TooManyCues : SubtitleParse::Ok;
}

// Splits "a, b, c" into at most count fields; the last keeps its commas.
std::vector<std::wstring_view> SplitFields(std::wstring_view s, size_t count)
{
    std::vector<std::wstring_view> fields;
    while (fields.size() + 1 < count) {
        const size_t comma = s.find(L',');
        if (comma == std::wstring_view::npos) break;
        fields.push_back(Trim(s.substr(0, comma)));
        s.remove_prefix(comma + 1);
    }
    fields.push_back(fields.size() + 1 == count ? s : Trim(s));
    return fields;
}

int FieldIndex(const std::vector<std::wstring_view>& format, std::wstring_view name)
{
    for (size_t i = 0; i < format.size(); ++i)
        if (EqualNoCase(format[i], name)) return static_cast<int>(i);
    return -1;
}

// Override blocks {...} out, \N and \n to breaks, \h to a space. An unclosed '{' is text.
std::wstring CleanAssText(std::wstring_view raw)
{
    std::wstring out;
    out.reserve(raw.size());
    const size_t lastBrace = raw.rfind(L'}');  // past it every '{' is text, found in one pass
    for (size_t i = 0; i < raw.size(); ++i) {
        const wchar_t c = raw[i];
        if (c == L'{' && lastBrace != std::wstring_view::npos && i < lastBrace) {
            const size_t close = raw.find(L'}', i);
            if (close != std::wstring_view::npos) {
                i = close;
                continue;
            }
        }
        if (c == L'\\' && i + 1 < raw.size()) {
            const wchar_t next = raw[i + 1];
            if (next == L'N' || next == L'n' || next == L'h') {
                out.push_back(next == L'h' ? L' ' : L'\n');
                ++i;
                continue;
            }
        }
        out.push_back(c);
    }
    return out;
}

SubtitleParse ParseAss(const std::vector<std::wstring_view>& lines, SubtitleTrack& track)
{
    enum class Section { Other, Info, Styles, Events } section = Section::Other;
    std::vector<std::wstring_view> styleFormat, eventFormat;
    double playResY = 0.0;
    std::optional<double> fontSize;
    std::optional<uint32_t> fontColour;
    bool haveDefaultStyle = false, tookStyle = false;
    for (const std::wstring_view rawLine : lines) {
        const std::wstring_view line = Trim(rawLine);
        if (line.empty() || line.front() == L';') continue;
        if (line.front() == L'[') {
            section = EqualNoCase(line, L"[Script Info]") ? Section::Info
                      : EqualNoCase(line, L"[V4+ Styles]") || EqualNoCase(line, L"[V4 Styles]") ? Section::Styles
                      : EqualNoCase(line, L"[Events]") ? Section::Events : Section::Other;
            continue;
        }
        const size_t colon = line.find(L':');
        if (colon == std::wstring_view::npos) continue;
        const std::wstring_view key = Trim(line.substr(0, colon));
        const std::wstring_view value = line.substr(colon + 1);
        if (section == Section::Info && EqualNoCase(key, L"PlayResY")) {
            std::wstring_view v = Trim(value);
            if (const auto y = Digits(v, 6); y && *y > 0) playResY = static_cast<double>(*y);
        } else if (section == Section::Styles && EqualNoCase(key, L"Format")) {
            styleFormat = SplitFields(value, 64);
        } else if (section == Section::Styles && EqualNoCase(key, L"Style") && !styleFormat.empty()) {
            const auto f = SplitFields(value, styleFormat.size());
            const int name = FieldIndex(styleFormat, L"Name");
            const bool isDefault = name >= 0 && name < static_cast<int>(f.size()) &&
                                   (EqualNoCase(f[name], L"Default") || EqualNoCase(f[name], L"*Default"));
            // The first style stands in for a missing Default.
            if (haveDefaultStyle || (tookStyle && !isDefault)) continue;
            haveDefaultStyle = isDefault;
            tookStyle = true;
            const int size = FieldIndex(styleFormat, L"Fontsize");
            const int colour = FieldIndex(styleFormat, L"PrimaryColour");
            if (size >= 0 && size < static_cast<int>(f.size())) {
                std::wstring_view v = f[size];
                if (const auto s = Digits(v, 4); s && *s > 0) fontSize = static_cast<double>(*s);
            }
            if (colour >= 0 && colour < static_cast<int>(f.size())) fontColour = ParseAssColour(f[colour]);
        } else if (section == Section::Events && EqualNoCase(key, L"Format")) {
            eventFormat = SplitFields(value, 64);
        } else if (section == Section::Events && EqualNoCase(key, L"Dialogue")) {
            const int start = FieldIndex(eventFormat, L"Start"), end = FieldIndex(eventFormat, L"End"),
                      text = FieldIndex(eventFormat, L"Text");
            if (start < 0 || end < 0 || text != static_cast<int>(eventFormat.size()) - 1) continue;
            const auto f = SplitFields(value, eventFormat.size());
            if (f.size() != eventFormat.size()) continue;
            SubtitleCue cue;
            const auto s = ParseClock(f[start]), e = ParseClock(f[end]);
            if (!s || !e || *e <= *s) continue;
            cue.start = *s;
            cue.end = *e;
            cue.text = CleanAssText(f[text]);
            if (Trim(cue.text).empty()) continue;
            track.cues.push_back(std::move(cue));
            if (track.cues.size() > kMaxSubtitleCues) return SubtitleParse::TooManyCues;
        }
    }
    if (fontSize) track.sizeFraction = *fontSize / (playResY > 0.0 ? playResY : kDefaultPlayResY);
    if (fontColour) track.colour = *fontColour;
    return SubtitleParse::Ok;
}

} // namespace

SubtitleParse ParseSubtitles(std::wstring_view text, SubtitleFormat format, SubtitleTrack& track)
{
    track = SubtitleTrack{};
    const auto lines = SplitLines(text);
    const SubtitleParse result = format == SubtitleFormat::Srt ? ParseSrt(lines, track) : ParseAss(lines, track);
    if (result != SubtitleParse::Ok) {
        track = SubtitleTrack{};
        return result;
    }
    track.finish();
    return track.cues.empty() ? SubtitleParse::NoCues : SubtitleParse::Ok;
}

} // namespace avcore
