# Text as the search reads it: rich text to plain text, words and their folding, the summary line.
list(APPEND TESSERA_CORE_SOURCES
  text/text_tables.cpp
  text/folded_words.cpp
  text/rtf_text.cpp
  text/text_summary.cpp
)
