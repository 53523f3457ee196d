#pragma once
// The request the add button hands the open-file dialog.
#include <windows.h>
#include <commdlg.h>

namespace playlist {

// Name buffer size in wide characters: room for thousands of chosen names.
inline constexpr DWORD kNameBufferUnits = 52000;

// OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY.
inline constexpr DWORD kAddFilesFlags = 0x00081A04;

// Video files first, then every file: NUL-separated pairs, ended by one more NUL.
extern const wchar_t kVideoFilter[];
// Subtitle files, for the dialog that loads one.
extern const wchar_t kSubtitleFilter[];

// Multi-selection open request of this build's structure size, owned by owner, writing
// into names (nameUnits wide characters, left as they are so the name box starts with
// the previous result's first string); every field not named here is zero.
OPENFILENAMEW AddFilesRequest(HWND owner, wchar_t* names, DWORD nameUnits);

// The system's dialog and the error it leaves: GetOpenFileNameW and CommDlgExtendedError,
// unless a test puts in a dialog that fails as only thousands of files make it fail.
struct OpenDialogCalls {
    BOOL(WINAPI* show)(OPENFILENAMEW*);
    DWORD(WINAPI* lastError)();
};
OpenDialogCalls& AddFilesDialogCalls();

} // namespace playlist
