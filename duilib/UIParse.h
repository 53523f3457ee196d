#pragma once
// Parsing of the attribute value forms the layouts use.
#include <windows.h>
#include "duilib/UIString.h"

namespace DuiLib {

// "0xAARRGGBB", "0XAARRGGBB" or "#AARRGGBB" (6 digits mean opaque). False on anything else.
bool ParseColor(const wchar_t* text, DWORD& argb);
// "l,t,r,b" with optional spaces; missing trailing values are 0. False when no number at all.
bool ParseRect(const wchar_t* text, RECT& rc);
// "cx,cy" with optional spaces.
bool ParseSize(const wchar_t* text, SIZE& sz);
// "true"/"false" (case-insensitive); anything else is false.
bool ParseBool(const wchar_t* text);
// Decimal integer with optional sign; false when there are no digits.
bool ParseInt(const wchar_t* text, int& value);

// One image attribute: a bare archive path or "file='x' source='l,t,r,b' corner='l,t,r,b' dest='l,t,r,b'".
struct TImageDesc {
    CDuiString file;          // archive path as written (backslashes allowed)
    RECT source{};            // sub-rectangle of the image; empty = whole image
    RECT corner{};            // border widths kept unstretched
    RECT dest{};              // placement inside the control; empty = whole control
    bool hasSource = false;
    bool hasDest = false;
    bool hasCorner = false;
    BYTE fade = 255;          // overall opacity
};
// False for an empty text or a description without a file.
bool ParseImageDesc(const wchar_t* text, TImageDesc& desc);

} // namespace DuiLib
