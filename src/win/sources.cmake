list(APPEND TESSERA_SHELL_SOURCES
  win/application.cpp
  win/clipboard.cpp
  win/control_table.cpp
  win/dpi.cpp
  win/form.cpp
  win/last_error.cpp
  win/list_accessibility.cpp
  win/message_boxes.cpp
  win/modal_scope.cpp
  win/picture.cpp
  win/picture_box.cpp
  win/rich_edit.cpp
  win/system_libraries.cpp
  win/text.cpp
  win/timer.cpp
  win/window.cpp
)
