# The search over every clip item: its index, the texts a background build reads, their cache.
list(APPEND TESSERA_CORE_SOURCES
  search/string_table.cpp
  search/word_postings.cpp
  search/item_texts.cpp
  search/search_index.cpp
  search/search_build.cpp
  search/item_search.cpp
)
list(APPEND TESSERA_POSIX_SOURCES search/item_files_posix.cpp)
list(APPEND TESSERA_SHELL_SOURCES search/item_files_win32.cpp)
