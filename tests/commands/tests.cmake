tessera_add_test(commands_core_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/chooser_rules_test.cpp
  LIBS tessera_core)
