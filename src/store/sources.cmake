list(APPEND TESSERA_CORE_SOURCES
  store/clip_index.cpp
  store/index_file.cpp
)
list(APPEND TESSERA_POSIX_SOURCES
  store/file_system_posix.cpp
)
list(APPEND TESSERA_SHELL_SOURCES
  store/file_system_win32.cpp
)
# The store folder and the index at start-up.
list(APPEND TESSERA_CORE_SOURCES store/store_folder.cpp store/index_startup.cpp)
