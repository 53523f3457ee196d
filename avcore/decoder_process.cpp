#include "avcore/decoder_process.h"

#include <sddl.h>

#include <cwchar>
#include <string>

#include "avcore/call_budget.h"
#include "avcore/decoder_token.h"

namespace avcore {

namespace {

// A killed decoder is gone within this; waiting any longer would hold the caller for nothing.
constexpr DWORD kKillWaitMs = 1000;

std::atomic<int> g_lostInCall{0};

// A name for this decoder's shared objects that no other process knows in advance.
std::wstring FreshName()
{
    static std::atomic<unsigned> counter{0};
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    wchar_t name[96];
    std::swprintf(name, 96, L"Local\\avcore-decoder-%lu-%llx-%u", GetCurrentProcessId(),
                  static_cast<unsigned long long>(now.QuadPart), ++counter);
    return name;
}

// The player's user may use the objects, at any integrity level (the decoder's is low);
// nobody else. Null (the default security) when the platform cannot say who the user is.
struct SecurityFree {
    void operator()(void* sd) const { if (sd) LocalFree(sd); }
};
std::unique_ptr<void, SecurityFree> SharedObjectSecurity()
{
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return nullptr;
    const UniqueHandle token(raw);
    BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD size = 0;
    if (!GetTokenInformation(token.get(), TokenUser, buffer, sizeof(buffer), &size)) return nullptr;
    wchar_t* sid = nullptr;
    if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &sid)) return nullptr;
    const std::wstring sddl = std::wstring(L"D:P(A;;GA;;;") + sid + L")(A;;GA;;;SY)S:(ML;;NW;;;LW)";
    LocalFree(sid);
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &sd, nullptr))
        return nullptr;
    return std::unique_ptr<void, SecurityFree>(sd);
}

// Null also when the name is taken: someone else's object must never be ours.
UniqueHandle Fresh(HANDLE h)
{
    if (h && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(h);
        return nullptr;
    }
    return UniqueHandle(h);
}

std::wstring OwnPath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// The player's environment, and the program's manifest (which asks for an elevated
// administrator) set aside: the decoder runs with exactly the token it is given.
std::wstring DecoderEnvironment()
{
    std::wstring block;
    if (wchar_t* env = GetEnvironmentStringsW()) {
        for (const wchar_t* v = env; *v; v += std::wcslen(v) + 1)
            if (_wcsnicmp(v, L"__COMPAT_LAYER=", 15) != 0) block.append(v).push_back(L'\0');
        FreeEnvironmentStringsW(env);
    }
    block.append(L"__COMPAT_LAYER=RunAsInvoker").push_back(L'\0');
    block.push_back(L'\0');
    return block;
}

// A suspended process with `token` (the player's own when null) that inherits nothing,
// not even the player's standard handles.
bool CreateSuspended(HANDLE token, const std::wstring& exe, std::wstring command, PROCESS_INFORMATION& pi)
{
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    std::wstring environment = DecoderEnvironment();
    const DWORD flags = CREATE_SUSPENDED | CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT;
    const BOOL created =
        token ? CreateProcessAsUserW(token, exe.c_str(), command.data(), nullptr, nullptr, FALSE, flags,
                                     environment.data(), nullptr, &si, &pi)
              : CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, flags, environment.data(),
                               nullptr, &si, &pi);
    return created != FALSE;
}

} // namespace

std::unique_ptr<DecoderProcess> DecoderProcess::Start(HANDLE job)
{
    std::unique_ptr<DecoderProcess> d(new DecoderProcess);
    const std::wstring name = FreshName();
    const auto security = SharedObjectSecurity();
    SECURITY_ATTRIBUTES sa{sizeof(sa), security.get(), FALSE};
    d->m_section = Fresh(CreateFileMappingW(INVALID_HANDLE_VALUE, &sa, PAGE_READWRITE, 0, sizeof(decoder::Control),
                                            decoder::ControlName(name).c_str()));
    d->m_command = Fresh(CreateEventW(&sa, FALSE, FALSE, decoder::CommandName(name).c_str()));
    d->m_reply = Fresh(CreateEventW(&sa, FALSE, FALSE, decoder::ReplyName(name).c_str()));
    if (!d->m_section || !d->m_command || !d->m_reply) return nullptr;
    void* view = MapViewOfFile(d->m_section.get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(decoder::Control));
    if (!view) return nullptr;
    d->m_control = {static_cast<decoder::Control*>(view), [](decoder::Control* c) { UnmapViewOfFile(c); }};

    const std::wstring exe = OwnPath();
    if (exe.empty()) return nullptr;
    const std::wstring command = L"\"" + exe + L"\" " + decoder::kSwitch + L" " + name;
    // Only where the platform cannot make a reduced token at all does the decoder run
    // with the player's: apart from the player still, so a stuck or crashed platform
    // costs a process, never the player. A token made but refused is never traded for
    // the player's rights.
    const UniqueHandle token = MakeDecoderToken();
    PROCESS_INFORMATION pi{};
    if (!CreateSuspended(token.get(), exe, command, pi)) return nullptr;
    d->m_process.reset(pi.hProcess);
    const UniqueHandle thread(pi.hThread);
    if (job) AssignProcessToJobObject(job, pi.hProcess);
    ResumeThread(thread.get());
    return d;
}

DecoderProcess::~DecoderProcess()
{
    kill();
}

bool DecoderProcess::alive() const
{
    return m_process && WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT;
}

void DecoderProcess::kill()
{
    if (!alive()) return;
    TerminateProcess(m_process.get(), 1);
    WaitForSingleObject(m_process.get(), kKillWaitMs);
}

uint64_t DecoderProcess::giveHandle(HANDLE h, DWORD access)
{
    HANDLE there = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), h, m_process.get(), &there, access, FALSE, 0)) return 0;
    return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(there));
}

bool DecoderProcess::waitForReply(DWORD budgetMs, HANDLE cancel, Outcome& outcome)
{
    HANDLE waits[] = {m_reply.get(), m_process.get(), cancel};
    const DWORD r = WaitForMultipleObjects(cancel ? 3 : 2, waits, FALSE, budgetMs);
    if (r == WAIT_OBJECT_0) return true;
    outcome = r == WAIT_OBJECT_0 + 1 ? Outcome::Died : r == WAIT_OBJECT_0 + 2 ? Outcome::Cancelled : Outcome::OverBudget;
    if (alive() || outcome == Outcome::Died) ++g_lostInCall;
    kill();
    return false;
}

void DecoderProcess::markReady()
{
    m_identity = m_control->identity;
    m_ready = true;
}

bool DecoderProcess::takeFirstReply(DWORD budgetMs, HANDLE cancel, Outcome& outcome)
{
    if (m_ready) return true;
    if (!waitForReply(budgetMs, cancel, outcome)) return false;
    markReady();
    return true;
}

bool DecoderProcess::waitReady(DWORD timeoutMs)
{
    Outcome outcome;
    return takeFirstReply(timeoutMs, nullptr, outcome);
}

bool DecoderProcess::readyNow()
{
    // Only a reply already there is taken: a wait that ran out would kill the decoder.
    if (!m_ready && WaitForSingleObject(m_reply.get(), 0) == WAIT_OBJECT_0) markReady();
    return m_ready;
}

DecoderProcess::Outcome DecoderProcess::call(DWORD budgetMs, HANDLE cancel)
{
    const Deadline deadline(budgetMs);
    Outcome outcome = Outcome::Replied;
    if (!takeFirstReply(deadline.remainingMs(), cancel, outcome)) return outcome;
    SetEvent(m_command.get());
    waitForReply(deadline.remainingMs(), cancel, outcome);
    return outcome;
}

int DecoderProcess::lostCount()
{
    return g_lostInCall.load();
}

} // namespace avcore
