list(APPEND TESSERA_SHELL_SOURCES
  commands/paste_chooser_win32.cpp
)
