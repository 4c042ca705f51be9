# Interface languages: the switcher, its tables (core), the control-table adapter and the translated
# form base (Win32).
list(APPEND TESSERA_CORE_SOURCES
  lang/translatable_component.cpp
  lang/multi_lang_base.cpp
  lang/multi_lang.cpp
  lang/language_tables.cpp
)
list(APPEND TESSERA_SHELL_SOURCES
  lang/control_set_components_win32.cpp
  lang/language_dialogs_win32.cpp
  lang/translated_form_win32.cpp
)
