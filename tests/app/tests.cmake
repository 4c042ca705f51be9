tessera_add_test(app_settings_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/profile_text_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/start_with_windows_test.cpp
  LIBS tessera_core)

if(WIN32)
  tessera_add_test(app_settings_win32_test
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/profile_file_win32_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/run_registry_win32_test.cpp
    LIBS tessera_shell)
endif()

if(WIN32)
  tessera_add_test(app_main_form_win32_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/main_form_win32_test.cpp
    LIBS tessera_shell)
endif()

# Splash screen, About box and link label.
tessera_add_test(app_link_target_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/link_target_test.cpp
  LIBS tessera_core)
if(WIN32)
  tessera_add_test(app_about_win32_test
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/sleeper_win32_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/url_label_win32_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/about_box_win32_test.cpp
    LIBS tessera_shell)
endif()
