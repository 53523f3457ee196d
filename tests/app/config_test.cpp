// cfg.cfg next to the exe: the byte format, short and long files, silent failures,
// and an exe whose path is longer than MAX_PATH.
#include <gtest/gtest.h>

#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>
#include "app/MainFrame.h"

namespace {

std::wstring ExeDir() {
    std::wstring dir;
    EXPECT_TRUE(GetExeDirectory(dir));
    return dir;
}

std::wstring CfgPath() { return ExeDir() + L"\\cfg.cfg"; }

void WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
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

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

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

TEST_F(ConfigFileTest, LivesNextToTheExe) {
    wchar_t exe[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring expected(exe, n);
    expected.resize(expected.rfind(L'\\'));
    EXPECT_EQ(ExeDir(), expected);
    EXPECT_EQ(ConfigFilePath(), expected + L"\\cfg.cfg");

    wchar_t out[MAX_PATH] = {};
    EXPECT_TRUE(GetExeDirectory(out));
    EXPECT_EQ(std::wstring(out), expected);
    EXPECT_FALSE(GetExeDirectory(static_cast<wchar_t*>(nullptr)));
}

TEST_F(ConfigFileTest, LoadsTheStoredPairAsItIs) {
    EffectSettings none = Load();  // no file: the defaults
    EXPECT_EQ(none.shape, 1);
    EXPECT_EQ(none.effectCode, 0);

    struct Case { std::vector<uint8_t> bytes; int32_t shape, effectCode; };
    const Case cases[] = {
        {{0, 0, 0, 0, 5, 0, 0, 0}, 0, 5},
        {{2, 0, 0, 0, 0x02, 0x01, 0, 0}, 2, 258},
        {{0xFF, 0xFF, 0xFF, 0xFF, 0x58, 0x02, 0, 0}, -1, 600},
        // Bytes past the eighth are ignored.
        {{0, 0, 0, 0, 5, 0, 0, 0, 0xAA, 0xBB, 0xCC, 0xDD}, 0, 5},
    };
    for (const Case& c : cases) {
        frame->m_effect = {1, 0};
        WriteBytes(CfgPath(), c.bytes);
        EffectSettings got = Load();
        EXPECT_EQ(got.shape, c.shape) << c.bytes.size() << " bytes";
        EXPECT_EQ(got.effectCode, c.effectCode) << c.bytes.size() << " bytes";
    }
}

TEST_F(ConfigFileTest, ShortFilesReplaceOnlyTheLowOrderBytesTheyHold) {
    WriteBytes(CfgPath(), {2, 0, 0, 0});
    EffectSettings four = Load();
    EXPECT_EQ(four.shape, 2);
    EXPECT_EQ(four.effectCode, 0);

    frame->m_effect = {0x11223344, 0x55667788};
    WriteBytes(CfgPath(), {5, 0, 0, 0, 0x07, 0x00});
    EffectSettings six = Load();
    EXPECT_EQ(six.shape, 5);
    EXPECT_EQ(six.effectCode, 0x55660007);

    frame->m_effect = {0x11223344, 0x55667788};
    WriteBytes(CfgPath(), {0xAB});
    EffectSettings one = Load();
    EXPECT_EQ(one.shape, 0x112233AB);
    EXPECT_EQ(one.effectCode, 0x55667788);

    frame->m_effect = {-1, 600};
    WriteBytes(CfgPath(), {});
    EffectSettings empty = Load();
    EXPECT_EQ(empty.shape, -1);
    EXPECT_EQ(empty.effectCode, 600);
}

TEST_F(ConfigFileTest, SaveWritesExactlyEightLittleEndianBytes) {
    WriteBytes(CfgPath(), {9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9});
    frame->m_effect = {2, 0x01020304};
    SaveConfig();
    EXPECT_EQ(ReadBytes(CfgPath()), (std::vector<uint8_t>{2, 0, 0, 0, 4, 3, 2, 1}));

    frame->m_effect = {-1, 600};
    SaveConfig();
    EXPECT_EQ(ReadBytes(CfgPath()), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0x58, 0x02, 0, 0}));
    frame->m_effect = {1, 0};
    EffectSettings back = Load();
    EXPECT_EQ(back.shape, -1);
    EXPECT_EQ(back.effectCode, 600);

    // Without a main window there is nothing to save.
    DeleteFileW(CfgPath().c_str());
    g_pMainFrame = nullptr;
    SaveConfig();
    EXPECT_FALSE(Exists(CfgPath()));
}

TEST_F(ConfigFileTest, AFileHeldOpenElsewhereIsSilentlySkipped) {
    WriteBytes(CfgPath(), {0, 0, 0, 0, 5, 0, 0, 0});
    HANDLE held = CreateFileW(CfgPath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EffectSettings got = Load();
    EXPECT_EQ(got.shape, 1);
    EXPECT_EQ(got.effectCode, 0);
    frame->m_effect = {2, 7};
    SaveConfig();
    CloseHandle(held);
    EXPECT_EQ(ReadBytes(CfgPath()), (std::vector<uint8_t>{0, 0, 0, 0, 5, 0, 0, 0}));
}

// --- Deep folders -----------------------------------------------------------------

std::wstring Extended(const std::wstring& path) { return L"\\\\?\\" + path; }

DWORD RunProbe(const std::wstring& exe, const std::wstring& args) {
    std::wstring cmd = L"\"" + exe + L"\" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        ADD_FAILURE() << "cannot start the probe, error " << GetLastError();
        return 0xFFFFFFFF;
    }
    WaitForSingleObject(pi.hProcess, 30000);
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

TEST(ConfigDeepFolder, ANameBeyondMaxPathIsStillReachedWhole) {
    // The exe path itself fits MAX_PATH, but its folder plus \cfg.cfg does not:
    // a fixed buffer would overflow or be cut into some other file's name.
    const std::wstring base = ExeDir() + L"\\deep";
    std::vector<std::wstring> folders{base};
    std::wstring dir = base;
    while (dir.size() + 40 < MAX_PATH - 7) {
        dir += L"\\folder_" + std::to_wstring(folders.size()) + L"_with_a_long_name_xx";
        folders.push_back(dir);
    }
    dir += L"\\" + std::wstring(MAX_PATH - 7 - dir.size() - 1, L'z');
    folders.push_back(dir);
    const std::wstring probe = dir + L"\\p.exe";
    ASSERT_EQ(probe.size(), static_cast<size_t>(MAX_PATH - 1));
    ASSERT_GE((dir + L"\\cfg.cfg").size(), static_cast<size_t>(MAX_PATH));
    for (const std::wstring& f : folders) {
        CreateDirectoryW(Extended(f).c_str(), nullptr);
        DeleteFileW(Extended(f + L"\\cfg.cfg").c_str());
    }
    ASSERT_TRUE(CopyFileW((ExeDir() + L"\\config_probe.exe").c_str(), Extended(probe).c_str(), FALSE));

    EXPECT_EQ(RunProbe(probe, L"load"), 1000u);  // nothing there yet: the defaults
    EXPECT_EQ(RunProbe(probe, L"save 2 258"), 0u);
    EXPECT_EQ(ReadBytes(Extended(dir + L"\\cfg.cfg")), (std::vector<uint8_t>{2, 0, 0, 0, 2, 1, 0, 0}));
    EXPECT_EQ(RunProbe(probe, L"load"), 2258u);
    for (size_t i = 0; i + 1 < folders.size(); ++i)
        EXPECT_FALSE(Exists(Extended(folders[i] + L"\\cfg.cfg"))) << "written into " << i;

    DeleteFileW(Extended(dir + L"\\cfg.cfg").c_str());
    DeleteFileW(Extended(probe).c_str());
    for (auto it = folders.rbegin(); it != folders.rend(); ++it)
        RemoveDirectoryW(Extended(*it).c_str());
}

} // namespace
