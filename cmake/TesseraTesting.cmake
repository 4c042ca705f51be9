# The test layers' programs. Each folder's tests.cmake lists its groups of GoogleTest cases:
#   tessera_core_test(NAME SOURCES ... [LIBS ...])  core unit tests (LIBS: tessera_core by default)
#   tessera_win32_test(SOURCES ...)                 Win32 tests, built for Windows only
# Natively each core group is a program of its own whose cases ctest lists one by one, so that a
# sanitizer build can build and run one group alone. For Windows the groups are gathered into one
# program per layer (tessera_add_layer_programs), each one ctest entry: every start of a program
# under Wine costs up to a second, and listing the cases would start Wine at build time.
function(tessera_core_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_LIBS)
    set(ARG_LIBS tessera_core)
  endif()
  if(WIN32)
    set_property(GLOBAL APPEND PROPERTY TESSERA_CORE_TEST_SOURCES ${ARG_SOURCES})
    set_property(GLOBAL APPEND PROPERTY TESSERA_CORE_TEST_LIBS ${ARG_LIBS})
  else()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)
    include(GoogleTest)
    gtest_discover_tests(${name} PROPERTIES LABELS core DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

function(tessera_win32_test)
  cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
  if(WIN32)
    set_property(GLOBAL APPEND PROPERTY TESSERA_WIN32_TEST_SOURCES ${ARG_SOURCES})
  endif()
endfunction()

# core_tests: every core test, proving that the core compiles and runs on Windows unchanged.
# win32_tests: every Win32 test, one after another in one process; it carries the program's
# resources (icons, manifest), as Tessera.exe does.
function(tessera_add_layer_programs)
  if(NOT WIN32)
    return()
  endif()
  get_property(core_sources GLOBAL PROPERTY TESSERA_CORE_TEST_SOURCES)
  get_property(core_libs GLOBAL PROPERTY TESSERA_CORE_TEST_LIBS)
  list(REMOVE_DUPLICATES core_libs)
  get_property(win32_sources GLOBAL PROPERTY TESSERA_WIN32_TEST_SOURCES)
  tessera_layer_program(core_tests core "${core_sources}" "${core_libs}")
  tessera_layer_program(win32_tests win32 "${win32_sources};${PROJECT_SOURCE_DIR}/res/tessera.rc" tessera_shell)
endfunction()

function(tessera_layer_program name label sources libs)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${libs} GTest::gtest_main)
  if(label STREQUAL "win32")
    # Each Win32 test file includes GoogleTest and <windows.h>: parsed once for the program.
    target_precompile_headers(${name} PRIVATE <windows.h> <gtest/gtest.h> <string> <vector>)
  endif()
  target_link_options(${name} PRIVATE -mconsole)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES LABELS ${label} TIMEOUT 300)
endfunction()
