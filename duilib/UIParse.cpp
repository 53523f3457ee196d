#include "duilib/UIParse.h"

#include <climits>
#include <cwctype>

namespace DuiLib {

namespace {
bool IsSpace(wchar_t ch) { return ch == L' ' || ch == L'\t' || ch == L'\r' || ch == L'\n'; }

const wchar_t* SkipSpaces(const wchar_t* p)
{
    while (*p && IsSpace(*p)) ++p;
    return p;
}

int HexValue(wchar_t ch)
{
    if (ch >= L'0' && ch <= L'9') return ch - L'0';
    if (ch >= L'a' && ch <= L'f') return ch - L'a' + 10;
    if (ch >= L'A' && ch <= L'F') return ch - L'A' + 10;
    return -1;
}

// Reads one signed decimal number at p (leading spaces allowed); advances p past it.
// Values beyond int range are clamped rather than wrapped.
bool ReadNumber(const wchar_t*& p, int& value)
{
    const wchar_t* s = SkipSpaces(p);
    bool negative = false;
    if (*s == L'+' || *s == L'-') { negative = (*s == L'-'); ++s; }
    if (*s < L'0' || *s > L'9') return false;
    long long v = 0;
    while (*s >= L'0' && *s <= L'9') {
        if (v <= INT_MAX) v = v * 10 + (*s - L'0');
        ++s;
    }
    if (negative) v = -v;
    if (v > INT_MAX) v = INT_MAX;
    if (v < INT_MIN) v = INT_MIN;
    value = static_cast<int>(v);
    p = s;
    return true;
}

// "a,b,c" with up to maxCount numbers; false when none, when more follow, or on garbage.
bool ReadNumberList(const wchar_t* text, int* values, int maxCount)
{
    if (!text) return false;
    const wchar_t* p = text;
    int count = 0;
    for (;;) {
        if (count == maxCount) return false;
        if (!ReadNumber(p, values[count])) return false;
        ++count;
        p = SkipSpaces(p);
        if (*p == L'\0') break;
        if (*p != L',') return false;
        ++p;
    }
    for (int i = count; i < maxCount; ++i) values[i] = 0;
    return true;
}

bool NameIs(const wchar_t* begin, const wchar_t* end, const wchar_t* name)
{
    size_t n = static_cast<size_t>(end - begin);
    for (size_t i = 0; i < n; ++i) {
        if (name[i] == L'\0' || std::towlower(begin[i]) != name[i]) return false;
    }
    return name[n] == L'\0';
}
} // namespace

bool ParseColor(const wchar_t* text, DWORD& argb)
{
    if (!text) return false;
    const wchar_t* p = SkipSpaces(text);
    if (*p == L'#') {
        ++p;
    } else if (p[0] == L'0' && (p[1] == L'x' || p[1] == L'X')) {
        p += 2;
    } else {
        return false;
    }
    DWORD value = 0;
    int digits = 0;
    for (int h; (h = HexValue(*p)) >= 0; ++p) {
        if (++digits > 8) return false;
        value = (value << 4) | static_cast<DWORD>(h);
    }
    if (*SkipSpaces(p) != L'\0') return false;
    if (digits == 6) value |= 0xFF000000u;
    else if (digits != 8) return false;
    argb = value;
    return true;
}

bool ParseRect(const wchar_t* text, RECT& rc)
{
    int v[4];
    if (!ReadNumberList(text, v, 4)) return false;
    rc = RECT{v[0], v[1], v[2], v[3]};
    return true;
}

bool ParseSize(const wchar_t* text, SIZE& sz)
{
    int v[2];
    if (!ReadNumberList(text, v, 2)) return false;
    sz = SIZE{v[0], v[1]};
    return true;
}

bool ParseBool(const wchar_t* text)
{
    if (!text) return false;
    const wchar_t* p = SkipSpaces(text);
    const wchar_t* e = p;
    while (*e && !IsSpace(*e)) ++e;
    return NameIs(p, e, L"true") && *SkipSpaces(e) == L'\0';
}

bool ParseInt(const wchar_t* text, int& value)
{
    if (!text) return false;
    const wchar_t* p = text;
    int v = 0;
    if (!ReadNumber(p, v)) return false;
    if (*SkipSpaces(p) != L'\0') return false;
    value = v;
    return true;
}

bool ParseImageDesc(const wchar_t* text, TImageDesc& desc)
{
    desc = TImageDesc{};
    if (!text) return false;
    const wchar_t* p = SkipSpaces(text);
    if (*p == L'\0') return false;

    bool hasEquals = false;
    for (const wchar_t* q = p; *q; ++q) {
        if (*q == L'=') { hasEquals = true; break; }
    }
    if (!hasEquals) {
        // A bare archive path; spaces around it are not part of the name.
        CDuiString path(p);
        path.TrimRight();
        desc.file = path;
        return true;
    }

    while (*(p = SkipSpaces(p)) != L'\0') {
        const wchar_t* nameBegin = p;
        while (*p && *p != L'=' && !IsSpace(*p)) ++p;
        const wchar_t* nameEnd = p;
        p = SkipSpaces(p);
        if (*p != L'=' || nameBegin == nameEnd) return false;
        p = SkipSpaces(p + 1);

        const wchar_t* valueBegin;
        const wchar_t* valueEnd;
        if (*p == L'\'' || *p == L'"') {
            wchar_t quote = *p++;
            valueBegin = p;
            while (*p && *p != quote) ++p;
            if (*p != quote) return false;  // unterminated value
            valueEnd = p++;
        } else {
            valueBegin = p;
            while (*p && !IsSpace(*p)) ++p;
            valueEnd = p;
        }
        CDuiString value(valueBegin, static_cast<int>(valueEnd - valueBegin));

        if (NameIs(nameBegin, nameEnd, L"file")) {
            desc.file = value;
        } else if (NameIs(nameBegin, nameEnd, L"source")) {
            if (!ParseRect(value, desc.source)) return false;
            desc.hasSource = true;
        } else if (NameIs(nameBegin, nameEnd, L"corner")) {
            if (!ParseRect(value, desc.corner)) return false;
            desc.hasCorner = true;
        } else if (NameIs(nameBegin, nameEnd, L"dest")) {
            if (!ParseRect(value, desc.dest)) return false;
            desc.hasDest = true;
        } else if (NameIs(nameBegin, nameEnd, L"fade")) {
            int fade = 255;
            if (!ParseInt(value, fade)) return false;
            desc.fade = static_cast<BYTE>(fade < 0 ? 0 : (fade > 255 ? 255 : fade));
        }
        // Other items (tiling, masks) are not used by our skins and are ignored.
    }
    return !desc.file.IsEmpty();
}

} // namespace DuiLib
