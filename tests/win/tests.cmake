if(WIN32)
  tessera_add_test(win_toolkit_win32_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/toolkit_win32_test.cpp
    LIBS tessera_shell)
endif()
