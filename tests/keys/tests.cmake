tessera_core_test(keys_core_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/key_string_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hot_key_keys_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/target_window_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hot_key_text_test.cpp)

tessera_win32_test(SOURCES ${CMAKE_CURRENT_LIST_DIR}/key_sender_win32_test.cpp)
