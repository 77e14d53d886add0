# Native (Linux, clang) build of the portable code: unit tests and libFuzzer
# targets, everything under AddressSanitizer and UndefinedBehaviorSanitizer and
# instrumented for coverage-guided fuzzing.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "the native configuration needs clang for libFuzzer (cmake --preset native)")
endif()
add_compile_options(-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
add_link_options(-fsanitize=address,undefined)

# quorvane_fuzzer(NAME SOURCE LIBS...): a libFuzzer target; CTest runs it
# briefly (QUORVANE_FUZZ_RUNS runs), tools/fuzz runs it for as long as asked.
set(QUORVANE_FUZZ_RUNS 20000 CACHE STRING "libFuzzer runs per target in the test run")
function(quorvane_fuzzer name source)
  add_executable(${name} ${source})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${ARGN})
  add_test(NAME ${name} COMMAND ${name} -runs=${QUORVANE_FUZZ_RUNS} -seed=1)
  set_property(GLOBAL APPEND PROPERTY QUORVANE_FUZZERS ${name})
endfunction()

# quorvane_native_gtest(TARGET SOURCES...): a GoogleTest program for Linux.
function(quorvane_native_gtest target)
  add_executable(${target} ${ARGN})
  target_link_libraries(${target} PRIVATE GTest::gtest_main)
  add_test(NAME ${target} COMMAND ${target})
endfunction()
