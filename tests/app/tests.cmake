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
