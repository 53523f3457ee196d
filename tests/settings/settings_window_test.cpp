// The settings window on a real main window whose engine records every call. Each
// test clicks "btn_setting" as a user would; a timer that fires inside the modal
// loop plays the user's part in the open window.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <utility>
#include "app/frame_harness.h"
#include "duilib/UIPath.h"
#include "settings/SystemInfoFrame.h"
#include "video/VideoRealWnd.h"

using namespace DuiLib;
using Calls = std::vector<std::string>;

namespace {

std::wstring CfgPath() { return GetModuleFolder() + L"\\cfg.cfg"; }

// The file's record, or nothing when there is no 8-byte file.
std::optional<EffectSettings> SavedRecord() {
    EffectSettings record{};
    std::ifstream in(std::filesystem::path(CfgPath()), std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(&record), sizeof(record)) || in.peek() != EOF)
        return std::nullopt;
    return record;
}

// --- Driving the modal window -------------------------------------------------------

// What the user does in the open window; returns the button to click at the end
// ("btn_save" or "btn_close").
using Script = std::function<const wchar_t*(CSystemInfoFrame&)>;

struct ModalRun {
    Script script;
    HWND owner = nullptr;
    bool ran = false;
    bool ownerDisabled = false;
    bool ownedByMain = false;
    HWND window = nullptr;           // the settings window
    ULONGLONG clickedAt = 0;         // tick of the final click
};
ModalRun* g_run = nullptr;

// This test's own settings window. Other test programs on the same desktop show
// windows of the same class (the skin tests), so only this thread's windows count.
HWND OwnSettingsWindow() {
    HWND hwnd = nullptr;
    do
        hwnd = FindWindowExW(nullptr, hwnd, L"SystemInfoWnd", nullptr);
    while (hwnd && GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId());
    return hwnd;
}

void PostClick(HWND hwnd, POINT pt) {
    for (UINT msg : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP})
        PostMessageW(hwnd, msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(pt.x, pt.y));
}

// Waits for the window, then acts once.
void CALLBACK PlayUserPart(HWND, UINT, UINT_PTR id, DWORD) {
    HWND hwnd = OwnSettingsWindow();
    if (!hwnd || !g_run)
        return;
    // The library keeps a window's object in its user data.
    auto* settings = dynamic_cast<CSystemInfoFrame*>(
        reinterpret_cast<CWindowWnd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)));
    if (!settings)
        return;
    KillTimer(nullptr, id);
    g_run->ran = true;
    g_run->window = hwnd;
    g_run->ownedByMain = GetWindow(hwnd, GW_OWNER) == g_run->owner;
    g_run->ownerDisabled = !IsWindowEnabled(g_run->owner);

    const wchar_t* button = g_run->script(*settings);
    CControlUI* control = settings->GetPaintManager().FindControl(button);
    g_run->clickedAt = GetTickCount64();
    if (control)
        PostClick(hwnd, apptest::CenterOf(control));
}

// A script that never closes the window must not hang the test. Only then does this
// fire: the window may take seconds to come up on a busy machine.
void CALLBACK CloseLeftOver(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (HWND hwnd = OwnSettingsWindow())
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
}

// The item of a combo or of the page list, chosen as a user's click chooses it.
void Pick(CSystemInfoFrame& settings, const wchar_t* name, int index) {
    CControlUI* control = settings.GetPaintManager().FindControl(name);
    auto* owner = control ? static_cast<IListOwnerUI*>(control->GetInterface(L"IListOwner")) : nullptr;
    ASSERT_NE(owner, nullptr) << name;
    owner->SelectItem(index, false);
}

// Picks these items in order, then clicks the button.
using Picks = std::vector<std::pair<const wchar_t*, int>>;
Script Picking(Picks picks, const wchar_t* button = L"btn_save") {
    return [picks, button](CSystemInfoFrame& s) {
        for (const auto& [name, item] : picks)
            Pick(s, name, item);
        return button;
    };
}

std::wstring ComboText(CComboUI* combo) { return combo ? combo->GetText().GetData() : L"(missing)"; }

// The polling tick would read the engine all along; these tests want its calls from
// the settings window alone.
class SettingsWindowTest : public apptest::MainWindowFixture {
protected:
    SettingsWindowTest() : MainWindowFixture({.global = true, .polling = false}) {
        DeleteFileW(CfgPath().c_str());
    }
    void TearDown() override {
        MainWindowFixture::TearDown();
        DeleteFileW(CfgPath().c_str());
    }

    // Clicks "btn_setting" and lets script act in the modal window; returns once the
    // window has closed and the click handler has returned.
    ModalRun RunSettings(Script script) {
        ModalRun run;
        run.script = std::move(script);
        run.owner = frame->GetHWND();
        g_run = &run;
        UINT_PTR act = SetTimer(nullptr, 0, 100, PlayUserPart);
        UINT_PTR guard = SetTimer(nullptr, 0, 30000, CloseLeftOver);
        apptest::ClickControl(frame, L"btn_setting");
        KillTimer(nullptr, act);
        KillTimer(nullptr, guard);
        g_run = nullptr;
        EXPECT_TRUE(run.ran) << "the settings window never ran";
        EXPECT_EQ(OwnSettingsWindow(), nullptr) << "the settings window is still open";
        EXPECT_TRUE(IsWindowEnabled(frame->GetHWND()));
        return run;
    }

    // One playlist row whose file was opened and now is in `status`.
    void Loaded(int status, double position, double duration) {
        frame->AddListItem(kRowPath, L"0.mp4");
        frame->m_pPlayList->SelectItem(0, false);
        frame->m_strCurPath = kRowPath;
        engine().script = {status, position, duration};
        engine().Clear();
    }
    Calls Commands() { return engine().CommandTexts(frame->m_pVideoWnd->GetHWND()); }
    // Pumps until the engine has been asked to seek, or the deadline passes; the tick
    // of that call, 0 when it never came.
    ULONGLONG WaitForSeek(DWORD deadlineMs) {
        ULONGLONG tick = 0;
        testsupport::PumpUntil([&] {
            for (const auto& call : engine().calls)
                if (call.name == "seek_to")
                    return (tick = call.tick) != 0;
            return false;
        }, deadlineMs);
        return tick;
    }

    static constexpr const wchar_t* kRowPath = L"C:\\v\\0.mp4";
};

TEST_F(SettingsWindowTest, OpensModallyShowingTheStoredSettings) {
    struct Case {
        EffectSettings stored;
        std::vector<std::wstring> shown;   // the shape, effect, colour table and texture combos, the preview
    };
    const Case cases[] = {
        {{1, 0}, {L"椭圆", L"无", L"无", L"无", L"shp\\yuan.png"}},
        {{0, 257}, {L"无", L"无", L"火焰", L"无", L""}},
        {{0, 515}, {L"无", L"无", L"无", L"纹理3", L""}},
        {{2, 13}, {L"水滴", L"深蓝泪雨", L"无", L"无", L"shp\\shuidi.png"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "stored (" << c.stored.shape << "," << c.stored.effectCode << ")");
        frame->m_effect = c.stored;
        std::vector<std::wstring> shown;
        int changed = -1, page = -1;
        const ModalRun run = RunSettings([&](CSystemInfoFrame& s) {
            shown = {ComboText(s.m_pComboShape), ComboText(s.m_pComboEffect), ComboText(s.m_pComboColorTable),
                     ComboText(s.m_pComboTexture), s.m_pShapePreview ? s.m_pShapePreview->GetBkImage() : L"(missing)"};
            changed = s.m_nChanged;
            Pick(s, L"list_type", 1);
            page = s.m_pTabFun ? s.m_pTabFun->GetCurSel() : -1;
            return L"btn_close";
        });
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(changed, 0) << "showing the stored settings counts as no change";
        EXPECT_TRUE(run.ownedByMain);
        EXPECT_TRUE(run.ownerDisabled) << "the window is not modal";
        EXPECT_EQ(page, 1) << "the page list turns the pages";
    }
}

// Nothing plays (the engine reports stopped), so a save writes the file and asks the
// engine only for its status.
TEST_F(SettingsWindowTest, TheLastChangeIsSavedAndNothingElse) {
    struct Case {
        const char* what;
        EffectSettings stored;
        Picks picks;
        const wchar_t* button;
        std::optional<EffectSettings> saved;   // the file and the new m_effect; none: untouched
    };
    const Case cases[] = {
        {"shape, then LOMO: LOMO wins", {1, 0}, {{L"comb_shape", 2}, {L"comb_effect", 3}}, L"btn_save", EffectSettings{0, 3}},
        {"LOMO, then shape: shape wins", {1, 0}, {{L"comb_effect", 3}, {L"comb_shape", 2}}, L"btn_save", EffectSettings{2, 0}},
        {"colour table none after another", {1, 0}, {{L"comb_colortable", 1}, {L"comb_colortable", 0}}, L"btn_save", EffectSettings{0, 256}},
        {"shape none keeps the effect", {2, 5}, {{L"comb_shape", 0}}, L"btn_save", EffectSettings{0, 5}},
        {"a change on the information page still counts", {1, 0}, {{L"comb_shape", 2}, {L"list_type", 1}}, L"btn_save", EffectSettings{2, 0}},
        {"back to the stored value", {0, 0}, {{L"comb_effect", 1}, {L"comb_effect", 0}}, L"btn_save", std::nullopt},
        {"no change", {1, 0}, {}, L"btn_save", std::nullopt},
        {"closed without saving", {1, 0}, {{L"comb_shape", 2}, {L"comb_effect", 3}}, L"btn_close", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileW(CfgPath().c_str());
        frame->m_effect = c.stored;
        engine().script.status = 4;
        engine().Clear();
        RunSettings(Picking(c.picks, c.button));
        const EffectSettings expected = c.saved.value_or(c.stored);
        EXPECT_EQ(frame->m_effect.shape, expected.shape);
        EXPECT_EQ(frame->m_effect.effectCode, expected.effectCode);
        const std::optional<EffectSettings> file = SavedRecord();
        ASSERT_EQ(file.has_value(), c.saved.has_value());
        if (file) {
            EXPECT_EQ(file->shape, expected.shape);
            EXPECT_EQ(file->effectCode, expected.effectCode);
        }
        EXPECT_EQ(engine().CallTexts(), c.saved ? Calls{"play_status()"} : Calls{});
    }
}

TEST_F(SettingsWindowTest, SaveWhilePausedReopensAndSeeksToTheWholeSecondFraction) {
    Loaded(2, 83.9, 120.5);
    const ModalRun run = RunSettings(Picking({{L"comb_shape", 2}}));
    ASSERT_TRUE(SavedRecord().has_value());
    EXPECT_EQ(SavedRecord()->shape, 2);

    // Position and duration are read before the close that forgets them.
    const Calls calls = engine().CallTexts();
    ASSERT_GE(calls.size(), 5u);
    EXPECT_EQ(Calls(calls.begin(), calls.begin() + 5),
              (Calls{"play_status()", "curr_play_time()", "duration()", "stop()", "close()"}));
    const ULONGLONG seekAt = WaitForSeek(3000);
    ASSERT_NE(seekAt, 0u) << "timer 3 never sought";
    EXPECT_GE(seekAt - run.clickedAt, 450u) << "sought before the reopened file could settle";

    // Reopened with the new settings and playing, no longer paused; then one seek.
    char seek[64];
    snprintf(seek, sizeof(seek), "seek_to(%.17g)", static_cast<double>(83.0f / 120.0f));
    EXPECT_EQ(Commands(), (Calls{"stop()", "close()", "subclasswindow(video,1)", "open(C:\\v\\0.mp4,0,2,2,0)", "play(0,0)", seek}));
    EXPECT_EQ(engine().script.status, 1);
}

TEST_F(SettingsWindowTest, SubSecondFileIsReopenedFromItsStartWithoutSeeking) {
    Loaded(1, 0.4, 0.9);
    // A seek still pending from an earlier save would move the new file.
    SetTimer(frame->GetHWND(), kTimerResumeSeek, 10000, nullptr);
    RunSettings(Picking({{L"comb_effect", 4}}));
    EXPECT_EQ(Commands(), (Calls{"stop()", "close()", "subclasswindow(video,1)", "open(C:\\v\\0.mp4,0,2,0,4)", "play(0,0)"}));
    EXPECT_FALSE(KillTimer(frame->GetHWND(), kTimerResumeSeek)) << "a seek is still due";
}

TEST_F(SettingsWindowTest, SaveReopensThePlayingFileWhateverRowIsSelected) {
    Loaded(1, 30.0, 120.0);
    frame->AddListItem(L"C:\\v\\1.mp4", L"1.mp4");
    frame->m_pPlayList->SelectItem(1, false);
    RunSettings(Picking({{L"comb_shape", 2}}));
    // Then back to 30 s of the same file.
    ASSERT_TRUE(testsupport::PumpUntil([&] { return engine().Commands().size() >= 6; }, 3000)) << "no seek";
    EXPECT_EQ(Commands(), (Calls{"stop()", "close()", "subclasswindow(video,1)", "open(C:\\v\\0.mp4,0,2,2,0)", "play(0,0)",
                           "seek_to(0.25)"}));
}

TEST_F(SettingsWindowTest, ASaveThatFailsKeepsTheOldFileAndSaysSo) {
    const EffectSettings old{1, 0};
    std::ofstream(std::filesystem::path(CfgPath()), std::ios::binary)
        .write(reinterpret_cast<const char*>(&old), sizeof(old));
    // A folder where the temporary goes: the new file cannot be written.
    const std::wstring temp = CfgPath() + L".tmp";
    ASSERT_TRUE(CreateDirectoryW(temp.c_str(), nullptr));
    Loaded(1, 30.0, 120.0);
    ModalRun run;
    {
        apptest::MessageBoxWatch watch;
        run = RunSettings(Picking({{L"comb_shape", 2}}));
    }
    RemoveDirectoryW(temp.c_str());
    ASSERT_TRUE(SavedRecord().has_value());
    EXPECT_EQ(SavedRecord()->shape, 1);
    EXPECT_EQ(apptest::MessageBoxWatch::count, 1);
    EXPECT_EQ(apptest::MessageBoxWatch::text, L"设置未能保存，下次启动仍使用原来的设置");
    EXPECT_EQ(apptest::MessageBoxWatch::caption, L"提示");
    EXPECT_EQ(apptest::MessageBoxWatch::owner, run.window);
    // The new look applies all the same.
    EXPECT_EQ(frame->m_effect.shape, 2);
}

} // namespace
