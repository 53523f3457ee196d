// The seek preview: the time under the pointer over the main window's seek slider,
// while a file is open, following the pointer and gone when it leaves.
#include "app/frame_harness.h"
#include "support/same_font.h"

using namespace DuiLib;

namespace {

constexpr int kThumbHalf = 10;  // the layout's thumb is 20 wide: its centre is the value's place

TEST(SeekPreviewText, TimeOfTheSliderPlace) {
    EXPECT_EQ(SeekPreviewText(517, 1000, 7200.0), L"01:02:02");
    EXPECT_EQ(SeekPreviewText(1000, 1000, 3725.9), L"01:02:05");
    EXPECT_EQ(SeekPreviewText(0, 1000, 60.0), L"00:00:00");
    EXPECT_TRUE(SeekPreviewText(500, 1000, 0.0).IsEmpty());
    EXPECT_TRUE(SeekPreviewText(500, 0, 60.0).IsEmpty());
}

class SeekPreviewTest : public apptest::MainWindowFixture {
protected:
    SeekPreviewTest() : MainWindowFixture({.polling = false, .clearEngine = false}) {}
    void SetUpWindow() override {
        slider = frame->m_pPlaySlider;
        ASSERT_NE(slider, nullptr);
        engine().script.SetProgress(1, 0, 7200);
    }

    void MoveTo(POINT at) { SendMessageW(frame->GetHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y)); }
    POINT OnSlider(double fraction) const {
        const RECT& rc = slider->GetPos();
        const int travel = (rc.right - rc.left) - 2 * kThumbHalf;
        return {rc.left + kThumbHalf + static_cast<LONG>(fraction * travel + 0.5), (rc.top + rc.bottom) / 2};
    }

    CSliderUI* slider = nullptr;
};

TEST_F(SeekPreviewTest, FollowsThePointerOverTheSliderWhileAFileIsOpen) {
    const struct {
        double fraction;
        const wchar_t* text;
    } places[] = {{0.0, L"00:00:00"}, {0.5, L"01:00:00"}, {0.25, L"00:30:00"}, {1.0, L"02:00:00"}};
    for (const auto& place : places) {
        MoveTo(OnSlider(place.fraction));
        EXPECT_TRUE(frame->m_seekPreview.IsShown());
        EXPECT_EQ(frame->m_seekPreview.Text(), place.text);
    }
    // Drawn in the skin's default font, like the window's own texts.
    EXPECT_TRUE(testsupport::DrawsIn(frame->m_seekPreview.TipWindow(),
                                     CPaintManagerUI::FromWindow(frame->GetHWND())->GetDefaultFont()));
    // Off the slider, or the pointer leaving the window, takes it away.
    const RECT& rc = slider->GetPos();
    MoveTo({rc.left + 5, rc.top - 30});
    EXPECT_FALSE(frame->m_seekPreview.IsShown());
    MoveTo(OnSlider(0.5));
    EXPECT_TRUE(frame->m_seekPreview.IsShown());
    SendMessageW(frame->GetHWND(), WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(frame->m_seekPreview.IsShown());

    // Paused still shows; stopped or nothing open does not.
    for (const auto& [status, shown] : {std::pair{2, true}, std::pair{4, false}, std::pair{0, false}}) {
        engine().script.status = status;
        MoveTo(OnSlider(0.5));
        EXPECT_EQ(frame->m_seekPreview.IsShown(), shown) << status;
    }
}

} // namespace
