list(APPEND TESSERA_SHELL_SOURCES
  commands/hot_key_commands_win32.cpp
  commands/paste_chooser_win32.cpp
)
# The chooser's list rules, driven through the ChooserView port.
# The hot-key commands' order, driven through the CommandPort port.
# Typing in the list: the prefix search.
list(APPEND TESSERA_CORE_SOURCES commands/chooser_rules.cpp commands/hot_key_commands.cpp commands/type_ahead.cpp)
