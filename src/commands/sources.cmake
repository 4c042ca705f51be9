list(APPEND TESSERA_SHELL_SOURCES
  commands/paste_chooser_win32.cpp
)
# The chooser's list rules, driven through the ChooserView port.
list(APPEND TESSERA_CORE_SOURCES commands/chooser_rules.cpp)
