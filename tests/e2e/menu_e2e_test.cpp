// The picture's menu with the real Morvane.exe and the real engine: a right-click on
// the playing picture opens the system's popup menu there, and its 截图 writes a PNG
// of the video's own size into the user's Pictures\Morvane folder.
#include "e2e/e2e_start.h"

namespace {

using namespace e2e;

// The first picture file in folder, or empty.
std::wstring FirstPng(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\long.mkv_*.png").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return L"";
    FindClose(search);
    return folder + L"\\" + found.cFileName;
}

using MenuEndToEnd = PlayerTest;

TEST_F(MenuEndToEnd, ARightClickOpensTheMenuAndItsScreenshotIsTheVideosSize) {
    ASSERT_FALSE(run.work.empty()) << "run through run_e2e.sh, which sets MORVANE_E2E_DIR";
    ASSERT_TRUE(Render(kStatuses, {L"00:00:00"}));

    // The player's profile is the run's own, so its pictures land where we look.
    const std::wstring profile = run.work + L"\\profile";
    const std::wstring pictures = profile + L"\\Pictures\\Morvane";
    CreateDirectoryW(profile.c_str(), nullptr);
    ASSERT_TRUE(FirstPng(pictures).empty()) << "run_e2e.sh starts each run afresh";
    SetEnvironmentVariableW(L"USERPROFILE", profile.c_str());

    ASSERT_TRUE(StartPlaying(L"\"long.mkv\"", [&] { return screen.ShowsSecondClip(); }));

    const POINT at = screen.CenterOf(refs.layout.playRegion);
    RightClickAt(at);
    HWND menu = nullptr;
    ASSERT_TRUE(testsupport::PumpUntil([&] { return (menu = FindTopWindow(player->Id(), L"#32768")) != nullptr; }, 5000))
        << "no menu after the right-click";
    const RECT rc = WindowRect(menu);
    EXPECT_TRUE(rc.left <= at.x + 1 && rc.top <= at.y + 1 && rc.right > at.x && rc.bottom > at.y + 100)
        << "the menu is not at the click: " << rc.left << "," << rc.top << " - " << rc.right << "," << rc.bottom;
    testsupport::Shot shot;
    if (CaptureScreen(ScreenRect(), shot))
        SaveShot(shot, testsupport::ScreenshotPath(L"e2e-picture-menu.png"));

    // From the bottom: 设置…, 打开文件所在位置, 截图 (the keys skip only separators).
    for (int i = 0; i < 3; ++i) PressKey(VK_UP);
    PressKey(VK_RETURN);
    std::wstring png;
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !(png = FirstPng(pictures)).empty(); }, 5000)) << "no screenshot written";
    EXPECT_TRUE(testsupport::PumpUntil([&] { return FindTopWindow(player->Id(), L"#32768") == nullptr; }, 3000));
    testsupport::Shot picture;
    ASSERT_TRUE(testsupport::PumpUntil([&] { return testsupport::LoadPicture(png.c_str(), picture); }, 3000)) << Utf8(png);
    EXPECT_EQ(picture.width, 320);
    EXPECT_EQ(picture.height, 240);
    // The clip's one colour in the middle; the default ellipse leaves the corners black.
    const uint32_t centre = picture.At(160, 120);
    for (int shift : {0, 8, 16})
        EXPECT_NEAR(int((centre >> shift) & 0xFF), int((kFlatColour >> shift) & 0xFF), 8) << std::hex << centre;
    EXPECT_EQ(picture.At(0, 0), 0u);
    // Still playing: the menu's choice was the screenshot, not a pause or a stop.
    EXPECT_TRUE(screen.Await("still-plays", [&] { return screen.Status() == kPlaying; }, 8000));
}

} // namespace
