tessera_add_test(lang_multi_lang_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/multi_lang_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/language_tables_test.cpp
  LIBS tessera_core)

if(WIN32)
  tessera_add_test(lang_control_set_components_win32_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/control_set_components_win32_test.cpp
    LIBS tessera_shell)
endif()
