tessera_add_test(store_core_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/clip_index_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/index_file_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hostile_index_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/store_listing_test.cpp
  LIBS tessera_core)

if(NOT WIN32)
  tessera_add_test(store_posix_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/file_system_posix_test.cpp
    LIBS tessera_posix)
endif()

if(WIN32)
  tessera_add_test(store_win32_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/file_system_win32_test.cpp
    LIBS tessera_shell)
endif()

tessera_add_test(store_startup_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/store_startup_test.cpp
  LIBS tessera_core)

tessera_add_test(store_capture_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/item_numbering_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/store_names_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/capture_test.cpp
  LIBS tessera_core)

if(WIN32)
  tessera_add_test(store_capture_win32_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/clip_writers_win32_test.cpp
    LIBS tessera_shell)
endif()
