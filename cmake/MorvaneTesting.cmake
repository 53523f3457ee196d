# GoogleTest built for the target from the sources Debian ships, and one CTest
# entry per test binary, run through Wine (CMAKE_CROSSCOMPILING_EMULATOR).
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
if(EXISTS /usr/src/googletest/googletest/CMakeLists.txt)
  add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  message(FATAL_ERROR "GoogleTest sources not found: install the Debian package googletest")
endif()

# The main of every test program: a run with skipped tests and no failure ends with a
# line of its own, and an entry that prints it shows as skipped in CTest, not passed.
add_library(morvane_test_main STATIC ${CMAKE_SOURCE_DIR}/tests/support/test_main.cpp
  ${CMAKE_SOURCE_DIR}/tests/support/gtest_main.cpp)
target_include_directories(morvane_test_main PUBLIC ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(morvane_test_main PUBLIC gtest)
set(MORVANE_SKIP_LINE_PATTERN "\\[  SKIPPED \\] [0-9]+ of [0-9]+ tests skipped, none failed")

# morvane_add_test(<name> SOURCES <files...> LIBS <targets...> [TIMEOUT <s>])
function(morvane_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} morvane_test_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 600)
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  morvane_show_skips(${name})
endfunction()

# The given CTest entries of the calling folder report skips; every add_test calls it.
function(morvane_show_skips)
  set_tests_properties(${ARGN} PROPERTIES SKIP_REGULAR_EXPRESSION "${MORVANE_SKIP_LINE_PATTERN}")
endfunction()
