# The key sender: decoding of key strings in the core, the real keyboard and windows in the shell.
list(APPEND TESSERA_CORE_SOURCES keys/key_string.cpp)
list(APPEND TESSERA_SHELL_SOURCES keys/key_sender_win32.cpp)
