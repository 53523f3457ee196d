#include "app/debug_capture.h"

#include <windows.h>
#include <mutex>

namespace {

constexpr DWORD kPrintNarrow = 0x40010006;  // DBG_PRINTEXCEPTION_C
constexpr DWORD kPrintWide = 0x4001000A;    // DBG_PRINTEXCEPTION_WIDE_C

std::mutex g_lock;
std::vector<std::wstring> g_lines;
std::wstring g_lastWide;  // a narrow echo of this text belongs to the same call
PVOID g_handler = nullptr;

LONG CALLBACK OnException(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* rec = info->ExceptionRecord;
    if ((rec->ExceptionCode != kPrintNarrow && rec->ExceptionCode != kPrintWide) || rec->NumberParameters < 2)
        return EXCEPTION_CONTINUE_SEARCH;
    size_t length = static_cast<size_t>(rec->ExceptionInformation[0]);
    length = length ? length - 1 : 0;  // the count includes the terminator
    std::lock_guard<std::mutex> guard(g_lock);
    if (rec->ExceptionCode == kPrintWide) {
        g_lastWide.assign(reinterpret_cast<const wchar_t*>(rec->ExceptionInformation[1]), length);
        g_lines.push_back(g_lastWide);
    } else {
        const auto* narrow = reinterpret_cast<const char*>(rec->ExceptionInformation[1]);
        const int units = MultiByteToWideChar(CP_ACP, 0, narrow, static_cast<int>(length), nullptr, 0);
        std::wstring text(static_cast<size_t>(units), L'\0');
        MultiByteToWideChar(CP_ACP, 0, narrow, static_cast<int>(length), text.data(), units);
        if (!g_lastWide.empty() && text == g_lastWide)
            g_lastWide.clear();
        else
            g_lines.push_back(text);
    }
    // Let the system finish the call as usual.
    return EXCEPTION_CONTINUE_SEARCH;
}

} // namespace

DebugOutputCapture::DebugOutputCapture() {
    Clear();
    g_handler = AddVectoredExceptionHandler(1, OnException);
}

DebugOutputCapture::~DebugOutputCapture() {
    RemoveVectoredExceptionHandler(g_handler);
    g_handler = nullptr;
}

std::vector<std::wstring> DebugOutputCapture::Lines() const {
    std::lock_guard<std::mutex> guard(g_lock);
    return g_lines;
}

void DebugOutputCapture::Clear() {
    std::lock_guard<std::mutex> guard(g_lock);
    g_lines.clear();
    g_lastWide.clear();
}
