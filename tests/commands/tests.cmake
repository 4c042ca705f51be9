tessera_core_test(commands_core_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/chooser_rules_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hot_key_commands_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/type_ahead_test.cpp)

tessera_win32_test(
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/paste_chooser_win32_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hot_key_commands_win32_test.cpp)
