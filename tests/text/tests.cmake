tessera_core_test(text_core_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/rtf_text_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/folded_words_test.cpp)
