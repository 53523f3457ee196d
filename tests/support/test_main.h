#pragma once
// Runs the registered tests. A run in which tests were skipped and none failed ends
// with a line CTest's SKIP_REGULAR_EXPRESSION (MORVANE_SKIP_LINE_PATTERN in MorvaneTesting.cmake)
// matches, so the entry shows as skipped. GoogleTest's own "[  SKIPPED ]" lines come
// before its failure summary and would hide a failure.
namespace testsupport {

int RunAllTestsShowingSkips();

} // namespace testsupport
