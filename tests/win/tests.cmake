tessera_win32_test(SOURCES ${CMAKE_CURRENT_LIST_DIR}/toolkit_win32_test.cpp)
