tessera_core_test(lang_multi_lang_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/multi_lang_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/language_tables_test.cpp)

tessera_win32_test(SOURCES ${CMAKE_CURRENT_LIST_DIR}/control_set_components_win32_test.cpp)
