// The add button's open-file dialog: its request and the error it leaves.
#include "playback/AddFilesDialog.h"

namespace playlist {

static_assert(kAddFilesFlags == (OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
                                 OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY));

const wchar_t kVideoFilter[] =
    L"所有视频文件\0*.avi;*.rmvb;*.rm;*.wmv;*.mkv;*.mp4;*.3gp;*.RAM;*.ASF;*.flv\0"
    L"所有文件\0*.*\0";

const wchar_t kSubtitleFilter[] = L"字幕文件\0*.srt;*.ass;*.ssa\0所有文件\0*.*\0";

OPENFILENAMEW AddFilesRequest(HWND owner, wchar_t* names, DWORD nameUnits) {
    OPENFILENAMEW request{};
    // The size of this build's structure: a 64-bit GetOpenFileNameW refuses the 32-bit one.
    request.lStructSize = sizeof(OPENFILENAMEW);
    request.hwndOwner = owner;
    request.lpstrFilter = kVideoFilter;
    request.nFilterIndex = 0;
    request.lpstrFile = names;
    request.nMaxFile = nameUnits;
    request.lpstrDefExt = L"";
    request.Flags = kAddFilesFlags;
    return request;
}

OpenDialogCalls& AddFilesDialogCalls() {
    static OpenDialogCalls calls{::GetOpenFileNameW, ::CommDlgExtendedError};
    return calls;
}

} // namespace playlist
