tessera_add_test(commands_core_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/chooser_rules_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hot_key_commands_test.cpp
  LIBS tessera_core)

if(WIN32)
  tessera_add_test(commands_chooser_win32_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/paste_chooser_win32_test.cpp
    LIBS tessera_shell)
  tessera_add_test(commands_hot_keys_win32_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/hot_key_commands_win32_test.cpp
    LIBS tessera_shell)
endif()
