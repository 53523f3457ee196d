// A small program that loads or saves the effect settings from wherever it is
// started, so tests can run the configuration code from unusual exe locations.
//   config_probe load       prints "S E"; exit code S * 1000 + E
//   config_probe save S E   writes (S, E)
//   config_probe dir        prints "refused" when the MAX_PATH-sized directory
//                           lookup declined (false, buffer untouched), else the folder
#include <windows.h>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include "app/MainFrame.h"
#include "settings/ConfigFile.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2)
        return -1;
    auto* frame = new DuiLib::CMainFrame();
    g_pMainFrame = frame;
    int result = 0;
    if (std::wcscmp(argv[1], L"load") == 0) {
        frame->LoadConfig();
        std::printf("%d %d\n", frame->m_effect.shape, frame->m_effect.effectCode);
        result = frame->m_effect.shape * 1000 + frame->m_effect.effectCode;
    } else if (std::wcscmp(argv[1], L"save") == 0 && argc == 4) {
        frame->m_effect = {static_cast<int32_t>(std::wcstol(argv[2], nullptr, 10)),
                           static_cast<int32_t>(std::wcstol(argv[3], nullptr, 10))};
        SaveConfig();
    } else if (std::wcscmp(argv[1], L"dir") == 0) {
        wchar_t out[MAX_PATH];
        std::wmemset(out, L'#', MAX_PATH);
        bool ok = GetExeDirectory(out);
        if (!ok && out[0] == L'#' && out[MAX_PATH - 1] == L'#')
            std::printf("refused\n");
        else
            std::printf("%ls\n", ok ? out : L"failed");
    } else {
        result = -1;
    }
    std::fflush(stdout);
    g_pMainFrame = nullptr;
    delete frame;
    return result;
}
