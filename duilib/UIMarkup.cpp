#include "duilib/UIMarkup.h"

#include <windows.h>
#include <climits>
#include <string>
#include <unordered_map>

namespace DuiLib {

const wchar_t* CMarkupNode::GetAttribute(const wchar_t* attrName) const
{
    if (!attrName) return nullptr;
    for (const auto& attr : attributes) {
        if (attr.first == attrName) return attr.second.GetData();
    }
    return nullptr;
}

namespace {

// Deep enough for any real layout, shallow enough that recursion cannot exhaust the stack.
constexpr int kMaxDepth = 256;

// Turns the raw bytes into UTF-16 according to the byte-order mark (UTF-8 without one).
bool DecodeDocument(const uint8_t* bytes, size_t size, std::wstring& out, CDuiString& error)
{
    if (size > static_cast<size_t>(INT_MAX) / 2) { error = L"document too large"; return false; }
    if (size >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF))) {
        const bool bigEndian = bytes[0] == 0xFE;
        if (size % 2 != 0) { error = L"truncated UTF-16 document"; return false; }
        out.resize((size - 2) / 2);
        for (size_t i = 0; i < out.size(); ++i) {
            uint8_t a = bytes[2 + 2 * i], b = bytes[3 + 2 * i];
            out[i] = bigEndian ? static_cast<wchar_t>((a << 8) | b) : static_cast<wchar_t>((b << 8) | a);
        }
        return true;
    }
    if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        bytes += 3;
        size -= 3;
    }
    out.clear();
    if (size == 0) return true;
    const char* text = reinterpret_cast<const char*>(bytes);
    // Malformed sequences are refused rather than silently turned into U+FFFD.
    int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, static_cast<int>(size), nullptr, 0);
    if (n <= 0) { error = L"invalid UTF-8"; return false; }
    out.resize(static_cast<size_t>(n));
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, static_cast<int>(size), out.data(), n);
    return true;
}

class CParser {
public:
    CParser(const wchar_t* begin, const wchar_t* end) : m_begin(begin), m_p(begin), m_end(end) {}

    bool ParseDocument(CMarkupNode& root)
    {
        if (!SkipMisc(true)) return false;
        if (AtEnd()) return Fail(L"no root element");
        if (*m_p != L'<') return Fail(L"text before the root element");
        if (!ParseElement(root, 1)) return false;
        if (!SkipMisc(false)) return false;
        if (!AtEnd()) return Fail(L"content after the root element");
        return true;
    }

    CDuiString Error() const { return m_error; }

private:
    const wchar_t* m_begin;
    const wchar_t* m_p;
    const wchar_t* m_end;
    CDuiString m_error;

    bool AtEnd() const { return m_p >= m_end; }
    size_t Left() const { return static_cast<size_t>(m_end - m_p); }
    bool StartsWith(const wchar_t* s) const
    {
        size_t n = wcslen(s);
        return Left() >= n && std::wmemcmp(m_p, s, n) == 0;
    }
    static bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }
    static bool IsNameChar(wchar_t c)
    {
        return !IsSpace(c) && c != L'<' && c != L'>' && c != L'/' && c != L'=' && c != L'\'' &&
               c != L'"' && c != L'&' && c != L'!' && c != L'?' && c != L'\0';
    }
    void SkipSpaces() { while (!AtEnd() && IsSpace(*m_p)) ++m_p; }

    bool Fail(const wchar_t* what)
    {
        int line = 1;
        for (const wchar_t* q = m_begin; q < m_p && q < m_end; ++q) {
            if (*q == L'\n') ++line;
        }
        m_error.Format(L"line %d: %s", line, what);
        return false;
    }

    // Moves past the terminator; false when the input ends first.
    bool SkipPast(const wchar_t* terminator)
    {
        size_t n = wcslen(terminator);
        for (; Left() >= n; ++m_p) {
            if (std::wmemcmp(m_p, terminator, n) == 0) { m_p += n; return true; }
        }
        m_p = m_end;
        return false;
    }

    // Whitespace, comments and processing instructions outside the root (and a DOCTYPE before it).
    bool SkipMisc(bool beforeRoot)
    {
        for (;;) {
            SkipSpaces();
            if (StartsWith(L"<!--")) {
                m_p += 4;
                if (!SkipPast(L"-->")) return Fail(L"unterminated comment");
            } else if (StartsWith(L"<?")) {
                if (!SkipPast(L"?>")) return Fail(L"unterminated processing instruction");
            } else if (beforeRoot && StartsWith(L"<!DOCTYPE")) {
                for (; !AtEnd() && *m_p != L'>'; ++m_p) {
                    if (*m_p == L'[') return Fail(L"document type definitions are not supported");
                }
                if (AtEnd()) return Fail(L"unterminated DOCTYPE");
                ++m_p;
            } else {
                return true;
            }
        }
    }

    bool ParseName(CDuiString& name)
    {
        const wchar_t* start = m_p;
        while (!AtEnd() && IsNameChar(*m_p)) ++m_p;
        if (m_p == start) return Fail(L"name expected");
        name.Assign(start, static_cast<int>(m_p - start));
        return true;
    }

    static void AppendCodePoint(std::wstring& out, unsigned long cp)
    {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (cp >> 10));
            out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<wchar_t>(cp);
        }
    }

    // At '&': decodes one reference into out.
    bool ParseReference(std::wstring& out)
    {
        ++m_p;
        const wchar_t* start = m_p;
        while (!AtEnd() && *m_p != L';' && m_p - start < 12) ++m_p;
        if (AtEnd() || *m_p != L';') return Fail(L"unterminated entity reference");
        std::wstring ref(start, m_p);
        ++m_p;
        if (ref == L"lt") out += L'<';
        else if (ref == L"gt") out += L'>';
        else if (ref == L"amp") out += L'&';
        else if (ref == L"quot") out += L'"';
        else if (ref == L"apos") out += L'\'';
        else if (ref.size() >= 2 && ref[0] == L'#') {
            const bool hex = ref[1] == L'x' || ref[1] == L'X';
            size_t i = hex ? 2 : 1;
            if (i >= ref.size()) return Fail(L"empty character reference");
            unsigned long cp = 0;
            for (; i < ref.size(); ++i) {
                wchar_t c = ref[i];
                int d;
                if (c >= L'0' && c <= L'9') d = c - L'0';
                else if (hex && c >= L'a' && c <= L'f') d = c - L'a' + 10;
                else if (hex && c >= L'A' && c <= L'F') d = c - L'A' + 10;
                else return Fail(L"bad character reference");
                cp = cp * (hex ? 16 : 10) + static_cast<unsigned long>(d);
                if (cp > 0x10FFFF) return Fail(L"character reference out of range");
            }
            if (cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF)) return Fail(L"invalid character reference");
            AppendCodePoint(out, cp);
        } else {
            return Fail(L"unknown entity");
        }
        return true;
    }

    bool ParseAttributeValue(CDuiString& value)
    {
        if (AtEnd() || (*m_p != L'"' && *m_p != L'\'')) return Fail(L"quoted attribute value expected");
        const wchar_t quote = *m_p++;
        std::wstring text;
        for (;;) {
            if (AtEnd()) return Fail(L"unterminated attribute value");
            wchar_t c = *m_p;
            if (c == quote) { ++m_p; break; }
            if (c == L'<') return Fail(L"'<' in attribute value");
            if (c == L'\0') return Fail(L"NUL character");
            if (c == L'&') {
                if (!ParseReference(text)) return false;
                continue;
            }
            // Literal line breaks and tabs become spaces, as XML normalises attribute values.
            text += IsSpace(c) ? L' ' : c;
            ++m_p;
        }
        value = CDuiString(text);
        return true;
    }

    bool ParseAttributes(CMarkupNode& node, bool& selfClosing)
    {
        // Name -> index in node.attributes: a repeat is found in constant time, so an
        // element with a huge number of attributes still parses in linear time.
        std::unordered_map<std::wstring, size_t> seen;
        for (;;) {
            const wchar_t* before = m_p;
            SkipSpaces();
            if (AtEnd()) return Fail(L"unterminated start tag");
            if (*m_p == L'>') { ++m_p; selfClosing = false; return true; }
            if (*m_p == L'/') {
                if (Left() < 2 || m_p[1] != L'>') return Fail(L"'>' expected after '/'");
                m_p += 2;
                selfClosing = true;
                return true;
            }
            if (m_p == before) return Fail(L"space expected between attributes");
            CDuiString name;
            if (!ParseName(name)) return false;
            SkipSpaces();
            if (AtEnd() || *m_p != L'=') return Fail(L"'=' expected after attribute name");
            ++m_p;
            SkipSpaces();
            CDuiString value;
            if (!ParseAttributeValue(value)) return false;
            const auto [it, fresh] = seen.try_emplace(name.str(), node.attributes.size());
            if (fresh) node.attributes.emplace_back(std::move(name), std::move(value));
            else node.attributes[it->second].second = std::move(value);
        }
    }

    // At '<' of a start tag.
    bool ParseElement(CMarkupNode& node, int depth)
    {
        if (depth > kMaxDepth) return Fail(L"elements nested too deeply");
        ++m_p;
        if (!ParseName(node.name)) return false;
        bool selfClosing = false;
        if (!ParseAttributes(node, selfClosing)) return false;
        if (selfClosing) return true;

        std::wstring text;
        for (;;) {
            if (AtEnd()) return Fail(L"missing end tag");
            wchar_t c = *m_p;
            if (c == L'<') {
                if (StartsWith(L"</")) {
                    m_p += 2;
                    CDuiString endName;
                    if (!ParseName(endName)) return false;
                    if (endName != node.name) return Fail(L"end tag does not match start tag");
                    SkipSpaces();
                    if (AtEnd() || *m_p != L'>') return Fail(L"'>' expected in end tag");
                    ++m_p;
                    break;
                }
                if (StartsWith(L"<!--")) {
                    m_p += 4;
                    if (!SkipPast(L"-->")) return Fail(L"unterminated comment");
                } else if (StartsWith(L"<![CDATA[")) {
                    m_p += 9;
                    const wchar_t* start = m_p;
                    if (!SkipPast(L"]]>")) return Fail(L"unterminated CDATA section");
                    text.append(start, m_p - 3);
                } else if (StartsWith(L"<?")) {
                    if (!SkipPast(L"?>")) return Fail(L"unterminated processing instruction");
                } else if (StartsWith(L"<!")) {
                    return Fail(L"unexpected declaration");
                } else {
                    node.children.emplace_back();
                    if (!ParseElement(node.children.back(), depth + 1)) return false;
                }
            } else if (c == L'&') {
                if (!ParseReference(text)) return false;
            } else if (c == L'\0') {
                return Fail(L"NUL character");
            } else {
                text += c;
                ++m_p;
            }
        }
        bool onlySpace = true;
        for (wchar_t ch : text) {
            if (!IsSpace(ch)) { onlySpace = false; break; }
        }
        // Indentation between child elements is not content.
        if (!onlySpace) node.text = CDuiString(text);
        return true;
    }
};

} // namespace

bool ParseMarkup(const void* data, size_t size, CMarkupNode& root, CDuiString* error)
{
    root = CMarkupNode{};
    CDuiString message;
    std::wstring text;
    if (!data && size != 0) {
        message = L"no data";
    } else if (DecodeDocument(static_cast<const uint8_t*>(data), size, text, message)) {
        CParser parser(text.data(), text.data() + text.size());
        if (parser.ParseDocument(root)) return true;
        message = parser.Error();
    }
    root = CMarkupNode{};
    if (error) *error = message;
    return false;
}

} // namespace DuiLib
