tessera_add_test(controls_core_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/view_format_rules_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/clipboard_viewer_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/palette_grid_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/clipboard_data_test.cpp
  LIBS tessera_core)

if(WIN32)
  tessera_add_test(controls_viewer_win32_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/clipboard_viewer_win32_test.cpp
    LIBS tessera_shell)
endif()

tessera_add_test(controls_tray_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/tray_icon_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/icon_list_test.cpp
  LIBS tessera_core)
if(WIN32)
  tessera_add_test(controls_tray_win32_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tray_icon_win32_test.cpp ${PROJECT_SOURCE_DIR}/res/tessera.rc
    LIBS tessera_shell)
endif()
