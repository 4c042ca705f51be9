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
