# Windows test programs run under 64-bit Wine through CTest's emulator. One
# Wine session (Xvfb display, persistent wineserver, booted prefix) serves the
# whole run: it is a CTest fixture, started before and stopped after the tests.
set(QUORVANE_WINE_RUN ${PROJECT_SOURCE_DIR}/tools/wine-run)
set(CMAKE_CROSSCOMPILING_EMULATOR ${QUORVANE_WINE_RUN} ${CMAKE_BINARY_DIR})

add_test(NAME wine_session_start COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-session start ${CMAKE_BINARY_DIR})
add_test(NAME wine_session_stop COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-session stop ${CMAKE_BINARY_DIR})
set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine)

# quorvane_wine_test(NAME TARGET [ARGS...]): one test program, all its cases in
# one Wine process.
function(quorvane_wine_test name target)
  add_test(NAME ${name} COMMAND ${target} ${ARGN})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 600)
endfunction()

# quorvane_wine_gtest(TARGET SOURCES...): a GoogleTest program for Windows.
function(quorvane_wine_gtest target)
  add_executable(${target} ${ARGN})
  target_link_libraries(${target} PRIVATE GTest::gtest_main)
  quorvane_wine_test(${target} ${target})
endfunction()
