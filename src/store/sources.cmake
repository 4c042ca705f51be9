list(APPEND TESSERA_CORE_SOURCES
  store/file_system.cpp
  store/clip_index.cpp
  store/index_file.cpp
)
list(APPEND TESSERA_POSIX_SOURCES
  store/file_system_posix.cpp
)
list(APPEND TESSERA_SHELL_SOURCES
  store/file_system_win32.cpp
  store/folder_watch_win32.cpp
)
# The store folder and the index at start-up.
list(APPEND TESSERA_CORE_SOURCES store/store_folder.cpp store/index_startup.cpp)
# Item kinds and names, capture and the clear command; the clipboard writers on the Win32 side.
list(APPEND TESSERA_CORE_SOURCES
  store/clip_kind.cpp
  store/item_numbering.cpp
  store/store_names.cpp
  store/store_listing.cpp
  store/background_listing.cpp
  store/placeable_metafile.cpp
  store/picture_size.cpp
  store/capture.cpp
  store/copy_marks.cpp
  store/clear_store.cpp
  store/index_writer.cpp
  store/store_user.cpp
  store/clip_store.cpp
)
list(APPEND TESSERA_SHELL_SOURCES
  store/clip_formats_win32.cpp
  store/clip_writers_win32.cpp
)
list(APPEND TESSERA_SHELL_SOURCES store/picture_file_win32.cpp)
