#include "soak/process_figures.h"

#include <winternl.h>
#include <tlhelp32.h>
#include <cstdint>
#include <vector>

namespace soak {

namespace {

long CountThreads(DWORD processId) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    long n = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == processId) ++n;
    CloseHandle(snapshot);
    return n;
}

using QuerySystem = NTSTATUS(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

// The system-wide handle list, one entry per open handle with its owner.
struct HandleEntry {
    USHORT ownerId;
    USHORT backTraceIndex;
    UCHAR objectType;
    UCHAR attributes;
    USHORT value;
    PVOID object;
    ULONG access;
};
constexpr ULONG kSystemHandleInformation = 16;
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);

long CountHandlesInSystemList(DWORD processId) {
    auto query = reinterpret_cast<QuerySystem>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return -1;
    std::vector<uint8_t> buffer(1 << 20);
    for (int attempt = 0; attempt < 8; ++attempt) {
        ULONG needed = 0;
        const NTSTATUS status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == kInfoLengthMismatch) {
            buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
            continue;
        }
        if (status != 0) return -1;
        ULONG count = 0;
        memcpy(&count, buffer.data(), sizeof(count));
        const auto* entries = reinterpret_cast<const HandleEntry*>(buffer.data() + sizeof(ULONG_PTR));
        long n = 0;
        for (ULONG i = 0; i < count; ++i)
            if (entries[i].ownerId == static_cast<USHORT>(processId)) ++n;
        return n;
    }
    return -1;
}

long CountHandles(HANDLE process, DWORD processId, const char** source) {
    DWORD n = 0;
    if (GetProcessHandleCount(process, &n) && n > 0) {
        *source = "GetProcessHandleCount";
        return static_cast<long>(n);
    }
    // Wine answers 0 here, but its system handle list is complete.
    *source = "system handle list";
    return CountHandlesInSystemList(processId);
}

// Wine's GDI handle table: one per process, mapped at the address its PEB holds,
// 65536 cells of 24 bytes with a non-zero type for each live object.
struct GdiCell {
    uint64_t object;
    uint32_t owner;
    uint16_t unique;
    uint8_t type;
    uint8_t flags;
    uint64_t user;
};
static_assert(sizeof(GdiCell) == 24);
constexpr size_t kGdiCells = 0x10000;
constexpr size_t kPebGdiTableOffset = 0xF8;   // x64 PEB

long CountGdiInHandleTable(HANDLE process) {
    PROCESS_BASIC_INFORMATION info{};
    ULONG length = 0;
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &info, sizeof(info), &length) != 0 ||
        !info.PebBaseAddress)
        return -1;
    uint64_t table = 0;
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, reinterpret_cast<const uint8_t*>(info.PebBaseAddress) + kPebGdiTableOffset, &table,
                           sizeof(table), &read) || !table)
        return -1;
    std::vector<GdiCell> cells(kGdiCells);
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), cells.data(), cells.size() * sizeof(GdiCell), &read))
        return -1;
    long n = 0;
    for (const GdiCell& cell : cells)
        if (cell.type != 0) ++n;
    return n;
}

// Windows are the USER objects a leak would pile up: top-level, child and message-only ones.
long CountWindows(DWORD processId) {
    struct Count {
        DWORD processId;
        long windows = 0;
    } count{processId};
    const WNDENUMPROC countTop = [](HWND hwnd, LPARAM param) -> BOOL {
        auto* c = reinterpret_cast<Count*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner != c->processId) return TRUE;
        ++c->windows;
        const WNDENUMPROC countChild = [](HWND, LPARAM p) -> BOOL { return ++reinterpret_cast<Count*>(p)->windows > 0; };
        EnumChildWindows(hwnd, countChild, param);
        return TRUE;
    };
    EnumWindows(countTop, reinterpret_cast<LPARAM>(&count));
    for (HWND hwnd = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); hwnd;
         hwnd = FindWindowExW(HWND_MESSAGE, hwnd, nullptr, nullptr))
        countTop(hwnd, reinterpret_cast<LPARAM>(&count));
    return count.windows;
}

// GetGuiResources, or -1 where the system does not implement it (Wine).
long GuiResources(HANDLE process, DWORD which) {
    SetLastError(0);
    const DWORD n = GetGuiResources(process, which);
    if (n == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) return -1;
    return static_cast<long>(n);
}

} // namespace

Figures ReadFigures(HANDLE process, DWORD processId, FigureSources* sources) {
    FigureSources from;
    Figures figures;
    figures.threads = CountThreads(processId);
    figures.handles = CountHandles(process, processId, &from.handles);
    figures.gdi = GuiResources(process, GR_GDIOBJECTS);
    from.gdi = figures.gdi < 0 ? "GDI handle table" : "GetGuiResources";
    if (figures.gdi < 0) figures.gdi = CountGdiInHandleTable(process);
    figures.user = GuiResources(process, GR_USEROBJECTS);
    from.user = figures.user < 0 ? "windows" : "GetGuiResources";
    if (figures.user < 0) figures.user = CountWindows(processId);
    if (sources) *sources = from;
    return figures;
}

double AnswerTime(HWND window, DWORD timeoutMs) {
    LARGE_INTEGER start, end, frequency;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result)) return -1;
    QueryPerformanceCounter(&end);
    return static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

} // namespace soak
