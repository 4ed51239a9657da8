# Native build: core unit tests (and, on request, benchmarks and fuzz targets).
find_package(GTest REQUIRED)

file(GLOB PW_NATIVE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/core/*/*_test.cpp)
add_executable(core_tests ${PW_NATIVE_TESTS})
target_link_libraries(core_tests PRIVATE pw_core GTest::gtest GTest::gtest_main)
target_include_directories(core_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_options(core_tests PRIVATE ${PW_WARNINGS})
target_compile_definitions(core_tests PRIVATE PW_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
add_test(NAME core_tests COMMAND core_tests --gtest_brief=1)

if(PW_BENCH)
  find_package(benchmark REQUIRED)
  file(GLOB PW_BENCHES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_bench.cpp)
  list(FILTER PW_BENCHES EXCLUDE REGEX "_win32_bench\\.cpp$")
  foreach(src ${PW_BENCHES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE pw_core benchmark::benchmark)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_compile_options(${name} PRIVATE ${PW_WARNINGS})
  endforeach()
endif()

# The statement corpus for scripts/compile-check.sh: a C file of generated
# statements, compiled there with MinGW against <windows.h>.
add_executable(statement_corpus ${CMAKE_SOURCE_DIR}/tests/core/codegen/statement_corpus.cpp)
target_link_libraries(statement_corpus PRIVATE pw_core)
target_compile_options(statement_corpus PRIVATE ${PW_WARNINGS})

# The task-dialog corpus for the same script: statements of WriteTaskDialog,
# compiled there as C and as C++ against <commctrl.h>.
add_executable(task_dialog_corpus ${CMAKE_SOURCE_DIR}/tests/core/codegen/task_dialog_corpus.cpp)
target_link_libraries(task_dialog_corpus PRIVATE pw_core)
target_include_directories(task_dialog_corpus PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_options(task_dialog_corpus PRIVATE ${PW_WARNINGS})
