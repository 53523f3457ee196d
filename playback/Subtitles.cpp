// Subtitles of the open file: the same-name file beside it at each open, a subtitle
// file dropped on the player, and showing, hiding and shifting them.
#include "app/MainFrame.h"
#include "app/PlayerTexts.h"
#include "playback/AddFilesDialog.h"
#include "playback/SubtitleFiles.h"

#include <algorithm>
#include <cmath>

namespace DuiLib {

namespace {

constexpr double kSubtitleStepSeconds = 0.1;
constexpr ULONGLONG kSubtitleNoticeMs = 2000;

} // namespace

void CMainFrame::LoadSubtitlesBeside(const std::wstring& videoPath) {
    m_strSubtitlePath.clear();   // the engine's open dropped the last file's
    const std::wstring beside = playlist::FindSubtitleBeside(videoPath);
    if (!beside.empty())
        LoadSubtitleFile(beside);
}

bool CMainFrame::LoadSubtitleFile(const std::wstring& path) {
    const std::wstring refusal = playlist::SubtitleRefusalText(m_player.set_subtitles(path.c_str()));
    if (!refusal.empty())
        ShowStatusNotice(refusal.c_str(), kSubtitleNoticeMs);
    else
        m_strSubtitlePath = path;
    return refusal.empty();
}

std::vector<std::wstring> CMainFrame::SubtitleFilesBeside() {
    return IsFileOpen() ? playlist::SubtitlesBeside(m_strCurPath.GetData()) : std::vector<std::wstring>{};
}

void CMainFrame::LoadSubtitleBeside(size_t index) {
    const std::vector<std::wstring> beside = SubtitleFilesBeside();
    if (index < beside.size() && LoadSubtitleFile(beside[index]))
        m_player.subtitles_show(true);
}

void CMainFrame::ChooseSubtitleFile() {
    wchar_t name[MAX_PATH * 4] = {};
    OPENFILENAMEW request = playlist::AddFilesRequest(m_hWnd, name, static_cast<DWORD>(std::size(name)));
    request.lpstrFilter = playlist::kSubtitleFilter;
    request.Flags &= ~static_cast<DWORD>(OFN_ALLOWMULTISELECT);
    if (playlist::AddFilesDialogCalls().show(&request) && LoadSubtitleFile(name))
        m_player.subtitles_show(true);
}

void CMainFrame::TakeDroppedSubtitles(std::vector<std::wstring>& paths) {
    const auto subtitles = std::stable_partition(paths.begin(), paths.end(), [](const std::wstring& path) {
        return !playlist::IsSubtitleFileName(path);
    });
    if (subtitles != paths.end() && IsFileOpen())
        LoadSubtitleFile(*subtitles);
    paths.erase(subtitles, paths.end());  // never rows of the playlist
}

void CMainFrame::ShowOrHideSubtitles() { m_player.subtitles_show(!m_player.subtitles_shown()); }

void CMainFrame::ShiftSubtitles(int steps) {
    const double delay = std::round((m_player.subtitles_delay() + steps * kSubtitleStepSeconds) * 1000.0) / 1000.0;
    m_player.subtitles_delay(delay);
    ShowStatusNotice(playlist::SubtitleDelayText(delay).c_str(), kSubtitleNoticeMs);
}

} // namespace DuiLib
