#pragma once
// A program the test starts: in a job that ends it (and all it started) with this
// object or with the test process, so no test path leaves one running.
#include <windows.h>

#include <string>

namespace testsupport {

class ChildProcess {
public:
    struct Options {
        std::wstring workDir;        // empty: this process's
        bool suspended = false;      // waits for Resume, so two can be let go at one moment
        bool captureOutput = false;  // its standard output and error, read by Output()
    };
    // arguments follow the quoted exe path on its command line.
    ChildProcess(const std::wstring& exe, const std::wstring& arguments, const Options& options);
    ChildProcess(const std::wstring& exe, const std::wstring& arguments) : ChildProcess(exe, arguments, Options{}) {}
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return m_process != nullptr; }
    HANDLE Handle() const { return m_process; }
    DWORD Id() const { return m_id; }
    void Resume();
    bool Running() const;
    // Waits for the end; the exit code (0 to 0xFFFFFFFF), or -1 when it still runs after timeoutMs.
    long long ExitCode(DWORD timeoutMs) const;
    // Everything it wrote, once it ended (captureOutput only).
    std::string Output();
    void Terminate();

private:
    HANDLE m_job = nullptr;
    HANDLE m_process = nullptr;
    HANDLE m_thread = nullptr;  // kept while suspended
    HANDLE m_output = nullptr;  // the read end of its output pipe
    DWORD m_id = 0;
};

// This test program's folder with `name` appended.
std::wstring BesideThisExe(const std::wstring& name);

} // namespace testsupport
