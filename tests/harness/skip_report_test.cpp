// A run with skipped tests and no failure ends with the line CTest reads as skipped;
// a failure beside a skip, or a run without skips, never prints it.
#include <gtest/gtest.h>

#include <windows.h>

#include <regex>
#include <string>

#include "skip_pattern.h"

namespace {

struct ProbeRun {
    DWORD exitCode = 0;
    std::string output;
};

// The probe beside this exe with a filter, its standard output read to the end.
ProbeRun RunProbe(const std::string& filter) {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring probe = exe;
    probe = probe.substr(0, probe.find_last_of(L'\\') + 1) + L"skip_probe.exe";
    std::wstring command = L"\"" + probe + L"\" --gtest_color=no --gtest_filter=" + std::wstring(filter.begin(), filter.end());

    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    ProbeRun run;
    if (!CreatePipe(&read, &write, &inherit, 0))
        return run;
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = write;
    si.hStdError = write;
    PROCESS_INFORMATION pi{};
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    CloseHandle(write);
    if (started) {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(read, buffer, sizeof(buffer), &got, nullptr) && got > 0)
            run.output.append(buffer, got);
        WaitForSingleObject(pi.hProcess, 60000);
        GetExitCodeProcess(pi.hProcess, &run.exitCode);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(read);
    return run;
}

TEST(SkipReport, OnlyARunWithSkipsAndNoFailureShowsAsSkipped) {
    const struct {
        const char* filter;
        bool failed;
        bool skipped;
    } cases[] = {
        {"Probe.Passes", false, false},
        {"Probe.Skips", false, true},
        {"Probe.Passes:Probe.Skips", false, true},
        {"Probe.Skips:Probe.Fails", true, false},
        {"Probe.Fails", true, false},
    };
    const std::regex skipLine(kSkipLinePattern);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.filter);
        const ProbeRun run = RunProbe(c.filter);
        ASSERT_NE(run.output.find("[==========]"), std::string::npos) << "the probe did not run";
        EXPECT_EQ(run.exitCode != 0, c.failed);
        EXPECT_EQ(std::regex_search(run.output, skipLine), c.skipped) << run.output;
    }
}

} // namespace
