# The clipboard viewer panel: its rules in the core, its windows in the shell.
list(APPEND TESSERA_CORE_SOURCES
  controls/clipboard_view_format.cpp
  controls/clipboard_viewer.cpp
  controls/component_text.cpp
  controls/icon_image.cpp
  controls/palette_grid.cpp
  controls/scroll_layout.cpp
  controls/view_format_rules.cpp
)
list(APPEND TESSERA_SHELL_SOURCES
  controls/clipboard_formats_win32.cpp
  controls/clipboard_reading_win32.cpp
  controls/clipboard_viewer_win32.cpp
  controls/palette_grid_win32.cpp
)
# The tray icon: its state machine and animation in the core, the notification area in the shell.
list(APPEND TESSERA_CORE_SOURCES
  controls/icon_list.cpp
  controls/tray_icon.cpp
)
list(APPEND TESSERA_SHELL_SOURCES
  controls/tray_icon_win32.cpp
)
