#pragma once
// What another running process holds, read from outside it: threads, kernel
// handles, GDI and USER objects; and how long one of its windows takes to answer.
#include <windows.h>

namespace soak {

struct Figures {
    long threads = -1;
    long handles = -1;
    long gdi = -1;
    long user = -1;
};

// Where each figure was read: the system's own counter, or a stand-in where the
// system answers nothing (Wine's GetProcessHandleCount and GetGuiResources).
struct FigureSources {
    const char* threads = "Toolhelp snapshot";
    const char* handles = "";
    const char* gdi = "";
    const char* user = "";
};

// Each figure by name, with where it was read, for bounds and reports.
struct FigureField {
    const char* name;
    long Figures::*value;
    const char* FigureSources::*source;
};
inline constexpr FigureField kFigureFields[] = {{"threads", &Figures::threads, &FigureSources::threads},
                                                {"handles", &Figures::handles, &FigureSources::handles},
                                                {"GDI objects", &Figures::gdi, &FigureSources::gdi},
                                                {"USER objects", &Figures::user, &FigureSources::user}};

// A figure that cannot be read at all is -1. The process handle needs query and
// memory-read access.
Figures ReadFigures(HANDLE process, DWORD processId, FigureSources* sources = nullptr);

// Milliseconds the window's thread took to answer WM_NULL; -1 when it did not
// answer within timeoutMs.
double AnswerTime(HWND window, DWORD timeoutMs);

} // namespace soak
