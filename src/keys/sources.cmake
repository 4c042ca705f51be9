# The key sender: decoding of key strings, the hot-key keys' timing and the target window rule
# in the core; the real keyboard and windows in the shell.
list(APPEND TESSERA_CORE_SOURCES keys/key_string.cpp keys/hot_key_keys.cpp keys/target_window.cpp keys/hot_key_text.cpp)
list(APPEND TESSERA_SHELL_SOURCES keys/key_sender_win32.cpp keys/hot_key_keys_win32.cpp keys/key_layout_win32.cpp)
