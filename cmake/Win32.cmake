# Windows build (MinGW-w64): the Win32 shell, promptwright.exe and the tests that
# run under Wine.
enable_language(RC)

set(PW_STATIC_LINK -static -static-libgcc -static-libstdc++)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)

# Win32 shell: the base (src/win32), the dialogs (src/dialogs) and the run
# without a window (src/console). The app layer (src/app) is only the entry
# point, so in-process tests link the rest.
file(GLOB PW_SHELL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/win32/*.cpp
  ${CMAKE_SOURCE_DIR}/src/dialogs/*.cpp ${CMAKE_SOURCE_DIR}/src/console/*.cpp)
add_library(pw_shell STATIC ${PW_SHELL_SOURCES})
target_link_libraries(pw_shell PUBLIC pw_core comctl32 shell32 ole32 gdi32 user32 advapi32 kernel32)
target_compile_options(pw_shell PRIVATE ${PW_WARNINGS})
# The shell is a Unicode program: the plain names are the W functions.
target_compile_definitions(pw_shell PUBLIC UNICODE _UNICODE)

file(GLOB PW_RESOURCE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/res/*)
add_executable(promptwright WIN32
  ${CMAKE_SOURCE_DIR}/src/app/main_win32.cpp
  ${CMAKE_SOURCE_DIR}/src/res/promptwright.rc)
# In the 64-bit build the window DLLs are delay-loaded, at the first call into
# them: a run without a window (-PRINT, -INSERT, -LIST) makes none, and under
# Wine loading them costs more than all the rest of such a run. Not in the
# 32-bit build: there (seen under qemu-i386, the only way 32-bit code runs on
# our machines) the first call into a delay-loaded DLL jumps to address 0, in a
# program of a few lines with a delay-loaded user32 as well; the cause is not
# known yet.
set(PW_DELAY_LIBS)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  get_filename_component(PW_TRIPLET ${CMAKE_C_COMPILER} NAME)
  string(REGEX REPLACE "-gcc.*$" "" PW_TRIPLET ${PW_TRIPLET})
  foreach(dll user32 gdi32 comctl32 shell32 ole32)
    set(lib ${CMAKE_BINARY_DIR}/delay/lib${dll}_delay.a)
    add_custom_command(OUTPUT ${lib}
      COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/delay-import-lib.sh ${PW_TRIPLET} ${dll} ${lib}
      DEPENDS ${CMAKE_SOURCE_DIR}/scripts/delay-import-lib.sh VERBATIM)
    list(APPEND PW_DELAY_LIBS ${lib})
  endforeach()
  add_custom_target(pw_delay_libs DEPENDS ${PW_DELAY_LIBS})
  add_dependencies(promptwright pw_delay_libs)
endif()
target_link_libraries(promptwright PRIVATE pw_shell ${PW_DELAY_LIBS})
target_compile_options(promptwright PRIVATE ${PW_WARNINGS})
# wWinMain: the C runtime splits the command line as UTF-16 (__wargv).
target_link_options(promptwright PRIVATE -municode)
# Stripped: the shipped program carries no symbols. The map tells
# scripts/check-binaries.sh what comes from the delay-import libraries.
target_link_options(promptwright PRIVATE ${PW_STATIC_LINK} -s -Wl,-Map=${CMAKE_BINARY_DIR}/promptwright.map)
set_target_properties(promptwright PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PW_OUTPUT_DIR})
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/res/promptwright.rc PROPERTIES
  OBJECT_DEPENDS "${PW_RESOURCE_FILES}")

# GoogleTest from Debian's sources, built for this target.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# In-process tests of the shell (dialogs created by the test itself, real
# profile functions and files).
file(GLOB PW_WIN32_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/dialogs/*_test.cpp)
add_executable(win32_tests ${PW_WIN32_TESTS} ${CMAKE_SOURCE_DIR}/src/res/promptwright.rc)
target_link_libraries(win32_tests PRIVATE pw_shell gtest gtest_main)
target_include_directories(win32_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_options(win32_tests PRIVATE ${PW_WARNINGS})
target_link_options(win32_tests PRIVATE ${PW_STATIC_LINK})
add_test(NAME win32_tests COMMAND win32_tests --gtest_brief=1)
set_tests_properties(win32_tests PROPERTIES TIMEOUT 600)

# End-to-end tests: a separate program that starts promptwright.exe and drives it.
file(GLOB PW_E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
add_executable(e2e_tests ${PW_E2E_SOURCES})
# pw_core: the statements the round trip from the command line starts from.
target_link_libraries(e2e_tests PRIVATE pw_core gtest gtest_main user32 kernel32 gdi32)
target_include_directories(e2e_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src)
target_compile_options(e2e_tests PRIVATE ${PW_WARNINGS})
target_link_options(e2e_tests PRIVATE ${PW_STATIC_LINK})
add_dependencies(e2e_tests promptwright stdin_to_file one_line)
# Programs the end-to-end tests and benchmarks start beside promptwright.exe,
# built next to e2e_tests.exe: the far end of a pipe, and the yardstick of the
# -PRINT benchmark (a minimal program that writes one line).
add_executable(stdin_to_file ${CMAKE_SOURCE_DIR}/tests/e2e/helpers/stdin_to_file.c)
add_executable(one_line ${CMAKE_SOURCE_DIR}/bench/one_line.c)
foreach(helper stdin_to_file one_line)
  target_compile_options(${helper} PRIVATE -Wall -Wextra -Werror)
  target_link_options(${helper} PRIVATE -static -s)
endforeach()
add_test(NAME e2e_tests COMMAND e2e_tests --gtest_brief=1)
set_tests_properties(e2e_tests PROPERTIES TIMEOUT 1200
  ENVIRONMENT "PW_EXE=${PW_OUTPUT_DIR}/promptwright.exe")

# Benchmarks of the shell, plain programs timed with QueryPerformanceCounter
# (run by scripts/run-bench.sh; not part of the tests).
file(GLOB PW_WIN32_BENCHES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_win32_bench.cpp)
foreach(src ${PW_WIN32_BENCHES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE pw_shell)
  target_compile_options(${name} PRIVATE ${PW_WARNINGS})
  target_link_options(${name} PRIVATE ${PW_STATIC_LINK})
endforeach()
