# tessera_add_test(NAME SOURCES ... LIBS ...): one GoogleTest program.
# Native programs have their cases listed in ctest one by one; Windows programs are one ctest entry
# each, run through Wine (listing their cases would start Wine at build time).
function(tessera_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main)
  if(WIN32)
    target_link_options(${name} PRIVATE -mconsole)
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(${name} PROPERTIES LABELS win32 TIMEOUT 300)
  else()
    include(GoogleTest)
    gtest_discover_tests(${name} PROPERTIES LABELS core DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
