#include "e2e/reference_frame.h"

#include "app/frame_harness.h"
#include "settings/SystemInfoFrame.h"
#include "video/PlayBarFrame.h"

namespace e2e {

void TextReader::Learn(const std::wstring& text, Patch picture) { m_known.emplace_back(text, std::move(picture)); }

std::wstring TextReader::Read(const testsupport::Shot& shot, const RECT& rc) const {
    const Patch seen = Cut(shot, rc);
    for (const auto& [text, picture] : m_known)
        if (picture == seen) return text;
    return L"?";
}

std::wstring TextReader::Ambiguous() const {
    for (size_t i = 0; i < m_known.size(); ++i)
        for (size_t j = 0; j < i; ++j)
            if (m_known[i].second == m_known[j].second) return m_known[i].first + L" / " + m_known[j].first;
    return L"";
}

bool CaptureSettled(HWND hwnd, testsupport::Shot& shot) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    testsupport::Shot previous;
    for (int i = 0; i < 40; ++i) {
        UpdateWindow(hwnd);
        testsupport::PumpIdle();
        if (!CaptureScreen(rc, shot)) return false;
        if (i > 0 && shot.pixels == previous.pixels) return true;
        previous = shot;
    }
    return false;
}

RECT PosOf(DuiLib::CMainFrame* frame, const wchar_t* name) {
    DuiLib::CControlUI* control = apptest::Find(frame, name);
    return control ? control->GetPos() : RECT{};
}

namespace {

std::wstring RenderTexts(DuiLib::CMainFrame* frame, const std::vector<std::wstring>& statuses,
                         const std::vector<std::wstring>& clocks, References& out) {
    HWND hwnd = frame->GetHWND();
    RECT window{};
    GetWindowRect(hwnd, &window);
    if (window.right - window.left != 840 || window.bottom - window.top != 600)
        return L"the in-process main window is not 840x600";
    MainLayout& layout = out.layout;
    const std::pair<RECT*, const wchar_t*> controls[] = {
        {&layout.add, L"btnadd"}, {&layout.remove, L"btndelete"}, {&layout.clear, L"btnclear"},
        {&layout.play, L"btn_play"}, {&layout.setting, L"btn_setting"}, {&layout.playRegion, L"playregion"},
        {&layout.list, L"listplay"}, {&layout.status, L"txt_playstatus"}, {&layout.curTime, L"txt_curtime"},
        {&layout.totalTime, L"txt_totaltime"}, {&layout.seek, L"slider_play"}, {&layout.minimise, L"btn_min"},
        {&layout.close, L"btn_close"}};
    for (const auto& [rc, name] : controls) *rc = PosOf(frame, name);
    if (IsRectEmpty(&layout.playRegion) || IsRectEmpty(&layout.list) || IsRectEmpty(&layout.status) ||
        IsRectEmpty(&layout.minimise) || IsRectEmpty(&layout.close))
        return L"a control of the main layout is missing";

    testsupport::Shot shot;
    if (!CaptureSettled(hwnd, shot)) return L"the in-process window never settled";
    out.status.Learn(L"(blank)", Cut(shot, layout.status));
    out.listEmpty = Cut(shot, layout.list);

    const std::pair<const wchar_t*, TextReader*> texts[] = {
        {L"txt_playstatus", &out.status}, {L"txt_curtime", &out.curTime}, {L"txt_totaltime", &out.totalTime}};
    for (const auto& [name, reader] : texts) {
        DuiLib::CControlUI* control = apptest::Find(frame, name);
        if (!control) return std::wstring(L"no ") + name + L" in the main layout";
        const RECT rc = control->GetPos();
        for (const std::wstring& text : reader == &out.status ? statuses : clocks) {
            control->SetText(text.c_str());
            if (!CaptureSettled(hwnd, shot)) return L"the in-process window never settled";
            reader->Learn(text, Cut(shot, rc));
        }
        if (!reader->Ambiguous().empty()) return std::wstring(name) + L" paints two texts alike: " + reader->Ambiguous();
    }
    return L"";
}

std::wstring RenderList(DuiLib::CMainFrame* frame, const ListedFile& first, const ListedFile& second, References& out) {
    HWND hwnd = frame->GetHWND();
    const MainLayout& layout = out.layout;
    testsupport::Shot shot;

    frame->AddListItem(first.fullPath.c_str(), first.name.c_str());
    frame->AddListItem(second.fullPath.c_str(), second.name.c_str());
    if (!CaptureSettled(hwnd, shot)) return L"the in-process window never settled";
    out.listTwoRows = Cut(shot, layout.list);
    if (frame->m_pPlayList) frame->m_pPlayList->SelectItem(1, false);
    frame->DeleteSelected();
    if (!CaptureSettled(hwnd, shot)) return L"the in-process window never settled";
    out.listAfterDelete = Cut(shot, layout.list);
    if (out.listTwoRows == out.listEmpty || out.listAfterDelete == out.listTwoRows || out.listAfterDelete == out.listEmpty)
        return L"the list paints alike with zero, one and two rows";
    return L"";
}

// Built as the settings button builds it, not modal; g_pMainFrame is this
// process's frame while it exists.
std::wstring MeasureSettings(DuiLib::CMainFrame* frame, SettingsLayout& out) {
    g_pMainFrame = frame;
    std::wstring error = L"the in-process settings window was not created";
    {
        DuiLib::CSystemInfoFrame settings;
        if (settings.Create(frame->GetHWND(), L"SystemConfigFrame", 0x96C80000, 0, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, nullptr)) {
            testsupport::PumpIdle();
            DuiLib::CComboUI* shape = settings.m_pComboShape;
            DuiLib::CControlUI* save = settings.GetPaintManager().FindControl(L"btn_save");
            error = shape && save ? L"" : L"the settings layout has no comb_shape or btn_save";
            if (error.empty()) out = {shape->GetPos(), save->GetPos(), shape->GetCount()};
            ::DestroyWindow(settings.GetHWND());
        }
    }
    g_pMainFrame = nullptr;
    return error;
}

// The bar's controls are not all members; its control tree is reached from a subclass.
class MeasuredBar : public DuiLib::CPlayBarFrame {
public:
    RECT PosOf(const wchar_t* name) {
        DuiLib::CControlUI* control = m_PaintManager.FindControl(name);
        return control ? control->GetPos() : RECT{};
    }
};

std::wstring MeasureBar(BarLayout& out) {
    const int cx = GetSystemMetrics(SM_CXSCREEN);
    MeasuredBar bar;
    if (!bar.Create(nullptr, L"PlayBarWnd", WS_POPUP, 0, 0, 0, cx, 50, nullptr))
        return L"the in-process bar was not created";
    ::SetWindowPos(bar.GetHWND(), nullptr, 0, 0, cx, 50, SWP_NOZORDER | SWP_NOACTIVATE);
    bar.ShowWindow(true, false);
    testsupport::PumpIdle();
    const std::pair<RECT*, const wchar_t*> controls[] = {{&out.play, L"btn_play"}, {&out.next, L"btn_next"},
        {&out.mute, L"btn_mute"}, {&out.fullscreen, L"btn_fullscreen"}, {&out.curTime, L"txt_curtime"}};
    for (const auto& [rc, name] : controls) *rc = bar.PosOf(name);
    ::DestroyWindow(bar.GetHWND());
    for (const auto& [rc, name] : controls)
        if (IsRectEmpty(rc)) return L"a control of the bar's layout is missing";
    return L"";
}

} // namespace

std::wstring WithMainFrame(const std::function<std::wstring(DuiLib::CMainFrame*)>& render) {
    // Away from every control, so nothing is painted hot.
    SetCursorPos(0, 0);
    DuiLib::CMainFrame* frame = apptest::OpenMainFrame();
    if (!frame) return L"the in-process main window was not created";
    const std::wstring error = render(frame);
    apptest::DestroyMainFrame(frame);
    return error;
}

std::wstring RenderReferences(const ListedFile& first, const ListedFile& second,
                              const std::vector<std::wstring>& statuses, const std::vector<std::wstring>& clocks,
                              References& out) {
    return WithMainFrame([&](DuiLib::CMainFrame* frame) {
        const std::wstring error = RenderTexts(frame, statuses, clocks, out);
        return error.empty() ? RenderList(frame, first, second, out) : error;
    });
}

std::wstring RenderReferences(const std::vector<std::wstring>& statuses, const std::vector<std::wstring>& clocks,
                              References& out, SettingsLayout& settings, BarLayout& bar) {
    return WithMainFrame([&](DuiLib::CMainFrame* frame) {
        std::wstring error = RenderTexts(frame, statuses, clocks, out);
        if (error.empty()) error = MeasureSettings(frame, settings);
        return error.empty() ? MeasureBar(bar) : error;
    });
}

} // namespace e2e
