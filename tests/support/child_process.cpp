#include "support/child_process.h"

#include "support/pump.h"

namespace testsupport {

ChildProcess::ChildProcess(const std::wstring& exe, const std::wstring& arguments, const Options& options)
{
    m_job = CreateJobObjectW(nullptr, nullptr);
    if (m_job) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(m_job, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
    }
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    HANDLE write = nullptr;
    if (options.captureOutput) {
        SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
        if (!CreatePipe(&m_output, &write, &inherit, 0)) return;
        SetHandleInformation(m_output, HANDLE_FLAG_INHERIT, 0);
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = write;
        si.hStdError = write;
    }
    std::wstring cmd = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    PROCESS_INFORMATION pi{};
    const BOOL created = CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, options.captureOutput, CREATE_SUSPENDED,
                                        nullptr, options.workDir.empty() ? nullptr : options.workDir.c_str(), &si, &pi);
    if (write) CloseHandle(write);  // the child's copy is the only writer left
    if (!created) return;
    if (m_job) AssignProcessToJobObject(m_job, pi.hProcess);
    m_process = pi.hProcess;
    m_thread = pi.hThread;
    m_id = pi.dwProcessId;
    if (!options.suspended) Resume();
}

ChildProcess::~ChildProcess()
{
    Resume();
    Terminate();
    if (m_process) CloseHandle(m_process);
    if (m_output) CloseHandle(m_output);
    if (m_job) CloseHandle(m_job);
}

void ChildProcess::Resume()
{
    if (!m_thread) return;
    ResumeThread(m_thread);
    CloseHandle(m_thread);
    m_thread = nullptr;
}

bool ChildProcess::Running() const
{
    return m_process && WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT;
}

long long ChildProcess::ExitCode(DWORD timeoutMs) const
{
    // Pumping: a child may send to this thread's windows (a broadcast) while it ends.
    if (!m_process || !PumpUntil([&] { return !Running(); }, timeoutMs)) return -1;
    DWORD code = 0;
    GetExitCodeProcess(m_process, &code);
    return code;
}

std::string ChildProcess::Output()
{
    std::string out;
    char buffer[4096];
    DWORD got = 0;
    while (m_output && ReadFile(m_output, buffer, sizeof(buffer), &got, nullptr) && got > 0) out.append(buffer, got);
    return out;
}

void ChildProcess::Terminate()
{
    if (!Running()) return;
    TerminateProcess(m_process, 1);
    WaitForSingleObject(m_process, 10000);
}

std::wstring BesideThisExe(const std::wstring& name)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

} // namespace testsupport
