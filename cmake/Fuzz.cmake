# Fuzz build (PW_FUZZ=ON, clang): each fuzz/<name>_fuzz.cpp becomes a libFuzzer
# program linked against pw_core, which is built here with the same
# sanitizers and coverage instrumentation. Run by scripts/fuzz.sh.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "PW_FUZZ needs clang (libFuzzer): configure with -DCMAKE_CXX_COMPILER=clang++")
endif()
if(NOT PW_OUTPUT_DIR)
  set(PW_OUTPUT_DIR ${CMAKE_BINARY_DIR})
endif()

set(PW_FUZZ_SAN_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
target_compile_options(pw_core PUBLIC -g -O1 ${PW_FUZZ_SAN_FLAGS} -fsanitize=fuzzer-no-link)
target_link_options(pw_core PUBLIC ${PW_FUZZ_SAN_FLAGS})

file(GLOB PW_FUZZ_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*_fuzz.cpp)
foreach(src ${PW_FUZZ_TARGETS})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE pw_core)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_options(${name} PRIVATE ${PW_WARNINGS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PW_OUTPUT_DIR})
endforeach()
