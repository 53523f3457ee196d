#pragma once
// Whether a window draws in a given font. Compared by face, height and weight: a
// window may keep its own copy of the font it was given (Wine's tooltips do).
#include <gtest/gtest.h>
#include <windows.h>

#include <cwchar>

namespace testsupport {

inline ::testing::AssertionResult DrawsIn(HWND window, HFONT font) {
    const HFONT used = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
    LOGFONTW a{}, b{};
    if (!used || !::GetObjectW(used, sizeof(a), &a) || !::GetObjectW(font, sizeof(b), &b))
        return ::testing::AssertionFailure() << "no font to compare";
    if (std::wcscmp(a.lfFaceName, b.lfFaceName) == 0 && a.lfHeight == b.lfHeight && a.lfWeight == b.lfWeight)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "draws in " << ::testing::PrintToString(std::wstring(a.lfFaceName)) << " "
                                         << a.lfHeight << ", not " << ::testing::PrintToString(std::wstring(b.lfFaceName))
                                         << " " << b.lfHeight;
}

} // namespace testsupport
