#include <gtest/gtest.h>
#include <windows.h>
TEST(Toolchain, RunsUnderWine) {
    HWND h = CreateWindowExW(0, L"STATIC", L"x", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(IsWindow(h));
    DestroyWindow(h);
}
