// A notice in the status text of the title bar, held there for a few seconds over
// the playing status the polling tick writes. The status text is narrow for a status
// word; a notice gets the room to be read whole, and gives it back when it ends.
#include "app/MainFrame.h"
#include "app/PlayerTexts.h"

namespace DuiLib {

namespace {

constexpr int kNoticeWidth = 200;

} // namespace

void CMainFrame::ShowStatusNotice(LPCTSTR text, ULONGLONG milliseconds) {
    m_strStatusNotice = text ? text : L"";
    m_noticeUntilTick = ::GetTickCount64() + milliseconds;
    HoldStatusNotice();
}

void CMainFrame::HoldStatusNotice() {
    CControlUI* status = m_PaintManager.FindControl(kCtlPlayStatus);
    if (m_strStatusNotice.IsEmpty() || ::GetTickCount64() >= m_noticeUntilTick) {
        m_strStatusNotice.Empty();
        // The polling tick writes the status again from its next round.
        if (status && m_nStatusWidth >= 0) {
            status->SetFixedWidth(m_nStatusWidth);
            m_nStatusWidth = -1;
        }
        return;
    }
    if (!status)
        return;
    if (m_nStatusWidth < 0 && status->GetFixedWidth() < kNoticeWidth) {
        m_nStatusWidth = status->GetFixedWidth();
        status->SetFixedWidth(kNoticeWidth);
    }
    if (status->GetText() != m_strStatusNotice) {
        status->SetText(m_strStatusNotice);
        status->Invalidate();
    }
}

} // namespace DuiLib
