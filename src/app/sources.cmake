list(APPEND TESSERA_CORE_SOURCES
  app/profile_text.cpp
  app/settings.cpp
  app/start_with_windows.cpp
)
list(APPEND TESSERA_SHELL_SOURCES
  app/profile_file_win32.cpp
  app/run_registry_win32.cpp
)
# Main window and program entry.
list(APPEND TESSERA_CORE_SOURCES app/program_paths.cpp)
list(APPEND TESSERA_SHELL_SOURCES app/main_form_win32.cpp app/tray_menu_win32.cpp app/program_win32.cpp
  app/running_program_win32.cpp)
list(APPEND TESSERA_APP_SOURCES app/main_win32.cpp)
# Splash screen and About box.
list(APPEND TESSERA_CORE_SOURCES app/link_target.cpp)
list(APPEND TESSERA_SHELL_SOURCES app/sleeper_win32.cpp app/splash_win32.cpp app/url_label_win32.cpp app/about_box_win32.cpp)
