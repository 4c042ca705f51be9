tessera_core_test(app_settings_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/profile_text_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/start_with_windows_test.cpp)
tessera_win32_test(
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/profile_file_win32_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/run_registry_win32_test.cpp)

tessera_win32_test(SOURCES ${CMAKE_CURRENT_LIST_DIR}/main_form_win32_test.cpp)

# Splash screen, About box and link label.
tessera_core_test(app_link_target_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/link_target_test.cpp)
tessera_win32_test(
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/sleeper_win32_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/url_label_win32_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/about_box_win32_test.cpp)

# Every form at 100 %, 125 %, 150 % and 200 %: a program of its own, run once per DPI with Wine
# set to that DPI, one at a time (the DPI is the whole prefix's).
if(WIN32)
  add_executable(forms_at_dpi ${CMAKE_CURRENT_LIST_DIR}/forms_at_dpi_win32_test.cpp ${PROJECT_SOURCE_DIR}/res/tessera.rc)
  target_link_libraries(forms_at_dpi PRIVATE tessera_shell GTest::gtest_main)
  target_link_options(forms_at_dpi PRIVATE -mconsole)
  foreach(dpi 96 120 144 192)
    add_test(NAME forms_at_dpi_${dpi}
      COMMAND bash ${PROJECT_SOURCE_DIR}/tests/support/at_dpi.sh ${dpi} /usr/lib/wine/wine64
              $<TARGET_FILE:forms_at_dpi> --gtest_brief=1)
    set_tests_properties(forms_at_dpi_${dpi} PROPERTIES LABELS win32 RUN_SERIAL TRUE TIMEOUT 300)
  endforeach()
endif()
