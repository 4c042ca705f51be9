tessera_add_test(keys_core_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/key_string_test.cpp ${CMAKE_CURRENT_LIST_DIR}/hot_key_keys_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/target_window_test.cpp
  LIBS tessera_core)

if(WIN32)
  tessera_add_test(keys_win32_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/key_sender_win32_test.cpp
    LIBS tessera_shell)
endif()
