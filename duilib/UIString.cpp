#include "duilib/UIString.h"

#include <windows.h>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace DuiLib {

namespace {
// Clamps a position into [0, length] so substring helpers never index past the end.
size_t ClampPos(int pos, size_t length)
{
    if (pos <= 0) return 0;
    return static_cast<size_t>(pos) > length ? length : static_cast<size_t>(pos);
}

bool IsTrimSpace(wchar_t ch)
{
    return ch == L' ' || ch == L'\t' || ch == L'\r' || ch == L'\n' || ch == L'\v' || ch == L'\f';
}
} // namespace

CDuiString::CDuiString(const wchar_t* text)
{
    if (text) m_str = text;
}

CDuiString::CDuiString(const wchar_t* text, int length)
{
    Assign(text, length);
}

CDuiString& CDuiString::operator=(const wchar_t* text)
{
    // Self-assignment from our own buffer must copy before clearing.
    if (text) m_str = std::wstring(text);
    else m_str.clear();
    return *this;
}

CDuiString& CDuiString::operator+=(const wchar_t* text)
{
    if (text) m_str += std::wstring(text);
    return *this;
}

void CDuiString::Assign(const wchar_t* text, int length)
{
    if (!text) { m_str.clear(); return; }
    if (length < 0) { m_str = std::wstring(text); return; }
    // Stop at the terminator when the text is shorter than the length asked for.
    size_t n = 0;
    while (n < static_cast<size_t>(length) && text[n] != L'\0') ++n;
    m_str = std::wstring(text, n);
}

int CDuiString::Compare(const wchar_t* text) const
{
    int r = std::wcscmp(m_str.c_str(), text ? text : L"");
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CDuiString::CompareNoCase(const wchar_t* text) const
{
    const wchar_t* other = text ? text : L"";
    // Ordinal, case-insensitive over all of Unicode (not only ASCII), locale-independent.
    int r = CompareStringOrdinal(m_str.c_str(), static_cast<int>(m_str.size()), other, -1, TRUE);
    if (r == CSTR_LESS_THAN) return -1;
    if (r == CSTR_GREATER_THAN) return 1;
    if (r == CSTR_EQUAL) return 0;
    return _wcsicmp(m_str.c_str(), other);
}

int CDuiString::Find(wchar_t ch, int start) const
{
    if (start < 0) start = 0;
    if (static_cast<size_t>(start) >= m_str.size()) return -1;
    size_t pos = m_str.find(ch, static_cast<size_t>(start));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CDuiString::Find(const wchar_t* text, int start) const
{
    if (!text || start < 0 || static_cast<size_t>(start) > m_str.size()) return -1;
    size_t pos = m_str.find(text, static_cast<size_t>(start));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CDuiString::ReverseFind(wchar_t ch) const
{
    size_t pos = m_str.rfind(ch);
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

CDuiString CDuiString::Left(int count) const
{
    return CDuiString(m_str.substr(0, ClampPos(count, m_str.size())));
}

CDuiString CDuiString::Mid(int start, int count) const
{
    size_t from = ClampPos(start, m_str.size());
    size_t avail = m_str.size() - from;
    size_t n = count < 0 ? avail : (static_cast<size_t>(count) > avail ? avail : static_cast<size_t>(count));
    return CDuiString(m_str.substr(from, n));
}

CDuiString CDuiString::Right(int count) const
{
    size_t n = ClampPos(count, m_str.size());
    return CDuiString(m_str.substr(m_str.size() - n));
}

int CDuiString::Replace(const wchar_t* from, const wchar_t* to)
{
    if (!from || !*from) return 0;
    const std::wstring needle(from);
    const std::wstring with(to ? to : L"");
    int count = 0;
    size_t pos = 0;
    while ((pos = m_str.find(needle, pos)) != std::wstring::npos) {
        m_str.replace(pos, needle.size(), with);
        pos += with.size();  // never rescans the replacement, so "a"->"aa" terminates
        ++count;
    }
    return count;
}

void CDuiString::MakeUpper()
{
    if (!m_str.empty()) CharUpperBuffW(m_str.data(), static_cast<DWORD>(m_str.size()));
}

void CDuiString::MakeLower()
{
    if (!m_str.empty()) CharLowerBuffW(m_str.data(), static_cast<DWORD>(m_str.size()));
}

void CDuiString::TrimLeft()
{
    size_t n = 0;
    while (n < m_str.size() && IsTrimSpace(m_str[n])) ++n;
    m_str.erase(0, n);
}

void CDuiString::TrimRight()
{
    size_t n = m_str.size();
    while (n > 0 && IsTrimSpace(m_str[n - 1])) --n;
    m_str.erase(n);
}

int CDuiString::Format(const wchar_t* format, ...)
{
    m_str.clear();
    if (!format) return 0;
    // The CRT's own wide printf: "%s" takes a wide string, as Windows code expects
    // (mingw's C99 printf would read it as a narrow one).
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    int needed = _vscwprintf(format, measure);
    va_end(measure);
    if (needed > 0) {
        std::vector<wchar_t> buffer(static_cast<size_t>(needed) + 1);
        int written = _vsnwprintf(buffer.data(), buffer.size(), format, args);
        if (written > 0) m_str.assign(buffer.data(), static_cast<size_t>(written));
    }
    va_end(args);
    return static_cast<int>(m_str.size());
}

} // namespace DuiLib
