tessera_core_test(store_core_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/clip_index_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/index_file_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hostile_index_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/placeable_metafile_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/store_listing_test.cpp)

# The file system port: the host's natively, the real one under Wine.
if(NOT WIN32)
  tessera_core_test(store_posix_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/file_system_posix_test.cpp
    LIBS tessera_posix)
endif()
tessera_win32_test(SOURCES ${CMAKE_CURRENT_LIST_DIR}/file_system_win32_test.cpp)

tessera_core_test(store_startup_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/store_startup_test.cpp)
tessera_core_test(clip_store_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/clip_store_test.cpp)

tessera_core_test(store_capture_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/item_numbering_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/store_names_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/capture_test.cpp)
tessera_win32_test(SOURCES ${CMAKE_CURRENT_LIST_DIR}/clip_writers_win32_test.cpp)
