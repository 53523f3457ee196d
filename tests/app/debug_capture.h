#pragma once
// Captures this process's OutputDebugString text while an object lives. Both the wide
// and the narrow debug-print exceptions are seen by a vectored handler; the narrow
// echo that Windows raises after an unclaimed wide one is counted once.
#include <string>
#include <vector>

class DebugOutputCapture {
public:
    DebugOutputCapture();
    ~DebugOutputCapture();
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

    std::vector<std::wstring> Lines() const;  // one entry per OutputDebugString call
    void Clear();
};
