// The lists and combos of the real skin: the settings window's page list and its four
// combos, and the playlist of the main window.
#include <gtest/gtest.h>

#include "list_fixture.h"

using namespace DuiLib;
using listtest::Center;

namespace {

// Each test shows one window of the real skin at its layout size.
class SkinListTest : public listtest::SharedHostTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(CSkinSource::UseResource(::GetModuleHandleW(nullptr), 131));
        CImageCache::Clear();
    }
    void TearDown() override { CloseHost(); }
    HWND Show(const wchar_t* skin, int width, int height) {
        OpenHost(skin, width, height);
        testsupport::PumpIdle();
        return hwnd;
    }
};

TEST_F(SkinListTest, SettingsCombosOpenOverTheWindow) {
    ASSERT_NE(Show(L"SystemInfoFrame.xml", 606, 449), nullptr);
    auto* pages = Find<CListUI>(L"list_type");
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->GetCount(), 2);
    EXPECT_EQ(pages->GetCurSel(), 0);
    for (const wchar_t* name : {L"comb_shape", L"comb_effect", L"comb_colortable", L"comb_texture"}) {
        auto* combo = Find<CComboUI>(name);
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(combo->GetText(), L"无") << "item 0 marked selected in the layout";
    }
    EXPECT_TRUE(host->Of(DUI_MSGTYPE_ITEMSELECT).empty());

    auto* effect = Find<CComboUI>(L"comb_effect");
    ASSERT_TRUE(effect->SelectItem(3));
    EXPECT_EQ(effect->GetText(), L"怀旧");
    const HWND drop = DropDown(effect);
    ASSERT_NE(drop, nullptr);
    RECT client{};
    ::GetClientRect(drop, &client);
    EXPECT_EQ(client.bottom, 260) << "dropboxsize of the Combo default";

    const listtest::Shot face = listtest::Capture(hwnd);
    const listtest::Shot list = listtest::Capture(drop);
    auto rowColour = [&](int i) { return list.At(list.width - 30, Center(effect->GetItemAt(i)->GetPos()).y); };
    EXPECT_EQ(rowColour(3), 0xC3C7D5u) << "the selected item";
    EXPECT_EQ(rowColour(2), 0xE7E9EEu) << "a plain item";
    RECT hostRect{}, dropRect{};
    ::GetWindowRect(hwnd, &hostRect);
    ::GetWindowRect(drop, &dropRect);
    const int width = std::max(hostRect.right, dropRect.right) - hostRect.left;
    const int height = std::max(hostRect.bottom, dropRect.bottom) - hostRect.top;
    std::vector<uint32_t> canvas(static_cast<size_t>(width) * height, 0xFF000000u);
    auto blit = [&](const listtest::Shot& s, int ox, int oy) {
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x) canvas[static_cast<size_t>(oy + y) * width + ox + x] = 0xFF000000u | s.At(x, y);
    };
    blit(face, 0, 0);
    blit(list, dropRect.left - hostRect.left, dropRect.top - hostRect.top);
    EXPECT_TRUE(testsupport::SaveBgraPng(reinterpret_cast<const uint8_t*>(canvas.data()), width, height, width * 4,
                                         testsupport::ScreenshotPath(L"duilib_settings_combo.png").c_str()));
    listtest::Key(hwnd, VK_ESCAPE);
    testsupport::PumpIdle();
    EXPECT_FALSE(::IsWindow(drop));
    EXPECT_EQ(effect->GetCurSel(), 3);
}

TEST_F(SkinListTest, PlaylistWithManyRows) {
    ASSERT_NE(Show(L"MainFrame.xml", 840, 600), nullptr);
    auto* playlist = Find<CListUI>(L"listplay");
    ASSERT_NE(playlist, nullptr);
    EXPECT_FALSE(playlist->IsHeaderVisible());
    for (int i = 0; i < 40; ++i) {
        auto* row = new CListTextElementUI;
        row->SetText(0, (L"视频文件 " + std::to_wstring(i + 1) + L".mp4").c_str());
        playlist->Add(row);
    }
    playlist->SelectItem(1);
    host->Manager().UpdateLayout();
    testsupport::PumpIdle();
    ASSERT_NE(playlist->GetVerticalScrollBar(), nullptr);
    EXPECT_TRUE(playlist->GetVerticalScrollBar()->IsVisible());
    EXPECT_FALSE(playlist->GetHorizontalScrollBar()->IsVisible());
    const listtest::Shot shot = listtest::Capture(hwnd);
    const RECT row = playlist->GetItemAt(1)->GetPos();
    EXPECT_EQ(shot.At(row.right - 3, (row.top + row.bottom) / 2), 0xC3C7D5u) << "the selected row";
    EXPECT_GT(shot.CountBright(playlist->GetItemAt(0)->GetPos()), 10) << "white file names";
    EXPECT_TRUE(testsupport::SaveWindowPng(hwnd, testsupport::ScreenshotPath(L"duilib_playlist.png").c_str()));
}

} // namespace
