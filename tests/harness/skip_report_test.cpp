// A run with skipped tests and no failure ends with the line CTest reads as skipped;
// a failure beside a skip, or a run without skips, never prints it.
#include <gtest/gtest.h>

#include <windows.h>

#include <regex>
#include <string>

#include "skip_pattern.h"
#include "support/child_process.h"

namespace {

struct ProbeRun {
    DWORD exitCode = 0;
    std::string output;
};

// The probe beside this exe with a filter, its standard output read to the end.
ProbeRun RunProbe(const std::string& filter) {
    testsupport::ChildProcess probe(testsupport::BesideThisExe(L"skip_probe.exe"),
                                    L"--gtest_color=no --gtest_filter=" + std::wstring(filter.begin(), filter.end()),
                                    {.captureOutput = true});
    ProbeRun run;
    run.output = probe.Output();
    run.exitCode = static_cast<DWORD>(probe.ExitCode(60000));
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
