#pragma once
// CDuiString: the library's wide string, a thin value type over std::wstring.
#include <string>
#include <cwchar>

namespace DuiLib {

class CDuiString {
public:
    CDuiString() = default;
    CDuiString(const wchar_t* text);                 // null gives the empty string
    CDuiString(const wchar_t* text, int length);     // at most length units of text
    CDuiString(const std::wstring& text) : m_str(text) {}
    CDuiString(wchar_t ch) : m_str(1, ch) {}

    CDuiString& operator=(const wchar_t* text);
    CDuiString& operator+=(const wchar_t* text);
    CDuiString& operator+=(const CDuiString& other) { m_str += other.m_str; return *this; }
    CDuiString& operator+=(wchar_t ch) { m_str += ch; return *this; }
    void Append(const wchar_t* text) { *this += text; }
    void Assign(const wchar_t* text, int length = -1);

    friend CDuiString operator+(const CDuiString& a, const CDuiString& b) { return CDuiString(a.m_str + b.m_str); }
    friend CDuiString operator+(const CDuiString& a, const wchar_t* b) { CDuiString r(a); r += b; return r; }

    bool operator==(const wchar_t* text) const { return Compare(text) == 0; }
    bool operator!=(const wchar_t* text) const { return Compare(text) != 0; }
    bool operator==(const CDuiString& other) const { return m_str == other.m_str; }
    bool operator!=(const CDuiString& other) const { return m_str != other.m_str; }
    bool operator<(const CDuiString& other) const { return m_str < other.m_str; }
    int Compare(const wchar_t* text) const;          // ordinal; null compares as empty
    int CompareNoCase(const wchar_t* text) const;    // ordinal, case-insensitive

    const wchar_t* GetData() const { return m_str.c_str(); }
    operator const wchar_t*() const { return m_str.c_str(); }
    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    // NUL for an index outside the string, rather than reading past it.
    wchar_t GetAt(int index) const { return index >= 0 && static_cast<size_t>(index) < m_str.size() ? m_str[static_cast<size_t>(index)] : L'\0'; }
    wchar_t operator[](int index) const { return GetAt(index); }

    int Find(wchar_t ch, int start = 0) const;           // -1 when absent
    int Find(const wchar_t* text, int start = 0) const;  // -1 when absent or start out of range
    int ReverseFind(wchar_t ch) const;
    CDuiString Left(int count) const;                    // clamped to the string
    CDuiString Mid(int start, int count = -1) const;     // count -1: to the end; clamped
    CDuiString Right(int count) const;
    int Replace(const wchar_t* from, const wchar_t* to); // every occurrence; returns how many
    void MakeUpper();
    void MakeLower();
    void TrimLeft();
    void TrimRight();
    int Format(const wchar_t* format, ...);

    const std::wstring& str() const { return m_str; }

private:
    std::wstring m_str;
};

} // namespace DuiLib
