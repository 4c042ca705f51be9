tessera_core_test(controls_core_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/view_format_rules_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/clipboard_viewer_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/palette_grid_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/clipboard_data_test.cpp)
tessera_win32_test(SOURCES ${CMAKE_CURRENT_LIST_DIR}/clipboard_viewer_win32_test.cpp)

# The tray icon's animation thread: this group runs under ThreadSanitizer too (tools/test).
tessera_core_test(controls_tray_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/tray_icon_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/icon_list_test.cpp)
tessera_win32_test(SOURCES ${CMAKE_CURRENT_LIST_DIR}/tray_icon_win32_test.cpp)
