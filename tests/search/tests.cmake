tessera_core_test(search_core_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/search_index_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/search_build_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/item_search_test.cpp)
tessera_win32_test(SOURCES ${CMAKE_CURRENT_LIST_DIR}/item_files_win32_test.cpp)
