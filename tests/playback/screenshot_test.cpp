// Screenshots with the recording engine: the file's name and folder, the PNG of the engine's picture
// by Ctrl+S and the menu item alike, and the title's word on success and on each failure.
#include <limits>

#include "app/frame_harness.h"
#include "duilib/UIPath.h"
#include "app/PlayerTexts.h"
#include "playback/ScreenshotFile.h"
#include "support/screenshot.h"
#include "video/PictureMenuModel.h"
#include "video/VideoRealWnd.h"

using namespace DuiLib;

namespace {

TEST(ScreenshotFile, NameIsTheFileNameAndThePosition) {
    struct Case {
        const wchar_t* path;
        double seconds;
        const wchar_t* name;
    } cases[] = {
        {L"C:\\v\\clip.mp4", 61.5, L"clip.mp4_00-01-01.500.png"},
        {L"C:\\v\\clip.mp4", 0.0, L"clip.mp4_00-00-00.000.png"},
        {L"C:\\v\\clip.mp4", 3600 * 12 + 59 * 60 + 59.9996, L"clip.mp4_12-59-59.999.png"},   // cut, never 60.000
        {L"\\\\server\\share\\片 段.mkv", 5.0015, L"片 段.mkv_00-00-05.001.png"},
        {L"D:/forward/slash.avi", 100 * 3600.0, L"slash.avi_100-00-00.000.png"},
        {L"bare.mp4", -3.0, L"bare.mp4_00-00-00.000.png"},
        {L"C:\\v\\nan.mp4", std::numeric_limits<double>::quiet_NaN(), L"nan.mp4_00-00-00.000.png"},
        {L"C:\\v\\inf.mp4", std::numeric_limits<double>::infinity(), L"inf.mp4_00-00-00.000.png"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(screenshot::ScreenshotName(c.path, c.seconds), c.name);
    EXPECT_EQ(screenshot::ScreenshotFolder(L"C:\\users\\ann"), L"C:\\users\\ann\\Pictures\\Morvane");
    EXPECT_EQ(screenshot::ScreenshotFolder(L"C:\\users\\ann\\"), L"C:\\users\\ann\\Pictures\\Morvane");
    EXPECT_EQ(screenshot::ScreenshotFolder(L""), L"");
}

class ScreenshotTest : public apptest::MainWindowFixture {
protected:
    ScreenshotTest() : MainWindowFixture({.global = true, .polling = false, .clearEngine = false}) {}
    void SetUpWindow() override {
        // A profile of our own under the build folder, emptied of earlier runs' pictures.
        profile = GetModuleFolder() + L"\\screenshot-profile";
        folder = profile + L"\\Pictures\\Morvane";
        DeleteFileW((folder + L"\\clip.mp4_00-01-01.500.png").c_str());
        SetEnvironmentVariableW(L"USERPROFILE", profile.c_str());
        frame->m_strCurPath = L"C:\\v\\clip.mp4";
        auto& script = engine().script;
        script.SetProgress(kStatusPaused, 61.5, 100.0);
        // 3 x 2: red, green, blue over white, black, grey; alpha says nothing.
        script.pictureWidth = 3;
        script.pictureHeight = 2;
        script.picture = {0, 0, 255, 0, 0, 255, 0, 7, 255, 0, 0, 99, 255, 255, 255, 0, 0, 0, 0, 0, 128, 128, 128, 255};
    }
    std::wstring Notice() const { return frame->m_strStatusNotice.GetData(); }
    void CtrlS(HWND to) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        SendMessageW(to, WM_KEYDOWN, 'S', 0);
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
    }

    std::wstring profile, folder;
};

TEST_F(ScreenshotTest, TheKeyAndTheMenuSaveTheEnginesPictureAsPng) {
    const std::wstring path = folder + L"\\clip.mp4_00-01-01.500.png";
    const std::vector<std::function<void()>> ways{
        [&] { frame->RunPictureCommand(picturemenu::kScreenshot); },
        [&] { CtrlS(frame->GetHWND()); },
        [&] { CtrlS(frame->m_pVideoWnd->GetHWND()); },
    };
    for (size_t i = 0; i < ways.size(); ++i) {
        SCOPED_TRACE(i);
        DeleteFileW(path.c_str());
        frame->m_strStatusNotice.Empty();
        ways[i]();
        EXPECT_EQ(Notice(), screenshot::kTextSavedTo + path);
        testsupport::Shot png;
        ASSERT_TRUE(testsupport::LoadPicture(path.c_str(), png));
        ASSERT_EQ(png.width, 3);
        ASSERT_EQ(png.height, 2);
        const std::vector<uint32_t> expected{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x808080};
        for (int p = 0; p < 6; ++p) EXPECT_EQ(png.At(p % 3, p / 3), expected[p]) << "pixel " << p;
    }
}

TEST_F(ScreenshotTest, AFailureSaysSoAndLeavesNoFile) {
    struct Case {
        const char* what;
        int status;
        int pictureWidth;
        bool profileIsAFile;
        std::wstring notice;
    } cases[] = {
        {"nothing open", kStatusClosed, 3, false, screenshot::kTextNoPicture},
        {"stopped", kStatusStopped, 3, false, screenshot::kTextNoPicture},
        {"no picture yet", kStatusPlaying, 0, false, screenshot::kTextNoPicture},
        {"the folder cannot be made", kStatusPlaying, 3, true, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        engine().script.status = c.status;
        engine().script.pictureWidth = c.pictureWidth;
        std::wstring shotFolder = folder;
        if (c.profileIsAFile) {
            // A file where the profile's Pictures folder should be.
            const std::wstring blocked = profile + L"-blocked";
            CreateDirectoryW(blocked.c_str(), nullptr);
            HANDLE f = CreateFileW((blocked + L"\\Pictures").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            CloseHandle(f);
            SetEnvironmentVariableW(L"USERPROFILE", blocked.c_str());
            shotFolder = blocked + L"\\Pictures\\Morvane";
        }
        const std::wstring path = shotFolder + L"\\clip.mp4_00-01-01.500.png";
        DeleteFileW((folder + L"\\clip.mp4_00-01-01.500.png").c_str());
        frame->TakeScreenshot();
        EXPECT_EQ(Notice(), c.notice.empty() ? screenshot::kTextNotWritten + path : c.notice);
        EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
        SetEnvironmentVariableW(L"USERPROFILE", profile.c_str());
    }
}

} // namespace
