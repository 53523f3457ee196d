// cfg.cfg next to the exe: the byte format, short and long files, silent failures,
// and a folder so deep that the file's name passes MAX_PATH.
#include <gtest/gtest.h>

#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>
#include "app/MainFrame.h"
#include "duilib/UIPath.h"
#include "settings/ConfigFile.h"
#include "support/child_process.h"

namespace {

std::wstring CfgPath() { return DuiLib::GetModuleFolder() + L"\\cfg.cfg"; }

void WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(h);
}

std::vector<uint8_t> ReadBytes(const std::wstring& path) {
    std::vector<uint8_t> out;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return out;
    uint8_t buf[64];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof(buf), &n, nullptr) && n)
        out.insert(out.end(), buf, buf + n);
    CloseHandle(h);
    return out;
}

class ConfigFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteFileW(CfgPath().c_str());
        frame = new DuiLib::CMainFrame();  // no native window: only its settings are used
        g_pMainFrame = frame;
    }
    void TearDown() override {
        g_pMainFrame = nullptr;
        delete frame;
        DeleteFileW(CfgPath().c_str());
    }
    EffectSettings Load() {
        frame->LoadConfig();
        return frame->m_effect;
    }
    DuiLib::CMainFrame* frame = nullptr;
};

TEST_F(ConfigFileTest, LoadsEightLittleEndianBytesOverTheDefaults) {
    EffectSettings none = Load();  // no file
    EXPECT_EQ(none.shape, 1);
    EXPECT_EQ(none.effectCode, 0);

    struct Case { std::vector<uint8_t> bytes; EffectSettings before, after; };
    const Case cases[] = {
        {{0, 0, 0, 0, 5, 0, 0, 0}, {1, 0}, {0, 5}},
        {{2, 0, 0, 0, 0x02, 0x01, 0, 0}, {1, 0}, {2, 258}},
        {{0xFF, 0xFF, 0xFF, 0xFF, 0x58, 0x02, 0, 0}, {1, 0}, {-1, 600}},
        {{0, 0, 0, 0, 5, 0, 0, 0, 0xAA, 0xBB, 0xCC, 0xDD}, {1, 0}, {0, 5}},  // tail ignored
        {{2, 0, 0, 0}, {1, 0}, {2, 0}},
        // A partial field replaces only its low-order bytes.
        {{5, 0, 0, 0, 0x07, 0x00}, {0x11223344, 0x55667788}, {5, 0x55660007}},
        {{0xAB}, {0x11223344, 0x55667788}, {0x112233AB, 0x55667788}},
        {{}, {-1, 600}, {-1, 600}},
    };
    for (const Case& c : cases) {
        frame->m_effect = c.before;
        WriteBytes(CfgPath(), c.bytes);
        EffectSettings got = Load();
        EXPECT_EQ(got.shape, c.after.shape) << c.bytes.size() << " bytes";
        EXPECT_EQ(got.effectCode, c.after.effectCode) << c.bytes.size() << " bytes";
    }
}

TEST_F(ConfigFileTest, SaveReplacesTheFileWholeOrKeepsTheOldOne) {
    const std::vector<uint8_t> old(12, 9);
    const std::vector<uint8_t> saved{0xFF, 0xFF, 0xFF, 0xFF, 4, 3, 2, 1};
    const std::wstring temp = CfgPath() + L".tmp";
    enum class Obstacle { None, HeldOpen, TemporaryIsAFolder };
    struct Case {
        const char* what;
        bool oldFile;
        Obstacle obstacle;
        bool ok;
    };
    const Case cases[] = {
        {"a longer file is replaced by eight bytes", true, Obstacle::None, true},
        {"a first save makes the file", false, Obstacle::None, true},
        // Share mode 0 elsewhere: load keeps the defaults, and the save must not pass.
        {"held open elsewhere", true, Obstacle::HeldOpen, false},
        {"the temporary cannot be made", true, Obstacle::TemporaryIsAFolder, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileW(CfgPath().c_str());
        if (c.oldFile)
            WriteBytes(CfgPath(), old);
        HANDLE held = INVALID_HANDLE_VALUE;
        if (c.obstacle == Obstacle::HeldOpen) {
            held = CreateFileW(CfgPath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
            frame->m_effect = {1, 0};
            EXPECT_EQ(Load().shape, 1);
        }
        if (c.obstacle == Obstacle::TemporaryIsAFolder)
            CreateDirectoryW(temp.c_str(), nullptr);
        frame->m_effect = {-1, 0x01020304};
        EXPECT_EQ(SaveConfig(), c.ok);
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
        EXPECT_EQ(ReadBytes(CfgPath()), c.ok ? saved : (c.oldFile ? old : std::vector<uint8_t>{}));
        if (c.obstacle == Obstacle::TemporaryIsAFolder) {
            EXPECT_TRUE(RemoveDirectoryW(temp.c_str()));
        }
        EXPECT_EQ(GetFileAttributesW(temp.c_str()), INVALID_FILE_ATTRIBUTES) << "a temporary was left";
    }

    DeleteFileW(CfgPath().c_str());
    g_pMainFrame = nullptr;  // no main window, nothing to save
    EXPECT_FALSE(SaveConfig());
    EXPECT_TRUE(ReadBytes(CfgPath()).empty());
}

// --- Deep folders -----------------------------------------------------------------

TEST(ConfigDeepFolder, ANameBeyondMaxPathIsStillReachedWhole) {
    // The exe path fits MAX_PATH but its folder plus \cfg.cfg does not: a fixed
    // buffer would overflow, or cut the name into some other file's.
    const std::wstring base = DuiLib::GetModuleFolder() + L"\\deep";
    const std::wstring dir = base + L"\\" + std::wstring(MAX_PATH - 7 - base.size() - 1, L'z');
    const std::wstring probe = dir + L"\\p.exe";  // MAX_PATH - 1 units
    CreateDirectoryW(base.c_str(), nullptr);
    CreateDirectoryW(DuiLib::ExtendedPathForm(dir).c_str(), nullptr);  // beyond the plain 248-unit limit
    DeleteFileW(DuiLib::ExtendedPathForm(dir + L"\\cfg.cfg").c_str());
    ASSERT_TRUE(CopyFileW((DuiLib::GetModuleFolder() + L"\\config_probe.exe").c_str(), probe.c_str(), FALSE));

    EXPECT_EQ(testsupport::ChildProcess(probe, L"load").ExitCode(30000), 1000);  // nothing there yet: the defaults
    EXPECT_EQ(testsupport::ChildProcess(probe, L"save 2 258").ExitCode(30000), 0);
    EXPECT_EQ(ReadBytes(DuiLib::ExtendedPathForm(dir + L"\\cfg.cfg")), (std::vector<uint8_t>{2, 0, 0, 0, 2, 1, 0, 0}));
    EXPECT_EQ(testsupport::ChildProcess(probe, L"load").ExitCode(30000), 2258);
    EXPECT_EQ(GetFileAttributesW((base + L"\\cfg.cfg").c_str()), INVALID_FILE_ATTRIBUTES);

    DeleteFileW(DuiLib::ExtendedPathForm(dir + L"\\cfg.cfg").c_str());
    DeleteFileW(probe.c_str());
    RemoveDirectoryW(DuiLib::ExtendedPathForm(dir).c_str());
    RemoveDirectoryW(base.c_str());
}

} // namespace
