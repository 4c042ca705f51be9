# End-to-end scenarios: shell scripts that start Tessera.exe under Wine and drive it as a person
# would. They need a display and a Wine prefix in the environment (tools/test provides both).
add_executable(e2e_probe ${CMAKE_CURRENT_LIST_DIR}/tools/e2e_probe.cpp)
target_link_options(e2e_probe PRIVATE -mconsole)
# It prints the program's own ids (e2e_probe ids): the scenarios take them from there.
target_link_libraries(e2e_probe PRIVATE tessera_core ntdll)
add_library(planted_riched20 SHARED ${CMAKE_CURRENT_LIST_DIR}/tools/planted_riched20.cpp)
# In a folder of its own: no program of the build may pick it up by accident.
set_target_properties(planted_riched20 PROPERTIES OUTPUT_NAME riched20 PREFIX ""
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/planted)

# tessera_add_e2e(NAME [DPI]): with a DPI, the scenario runs with Wine's display at that DPI.
function(tessera_add_e2e name)
  set(test e2e_${name})
  set(command bash ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/${name}.sh)
  if(ARGC GREATER 1)
    set(test e2e_${name}_${ARGV1})
    set(command bash ${PROJECT_SOURCE_DIR}/tests/support/at_dpi.sh ${ARGV1} ${command})
  endif()
  add_test(NAME ${test} COMMAND ${command})
  set_tests_properties(${test} PROPERTIES LABELS e2e TIMEOUT 300 SKIP_RETURN_CODE 77
    ENVIRONMENT "TESSERA_EXE=$<TARGET_FILE:Tessera>;E2E_PROBE=$<TARGET_FILE:e2e_probe>;PLANTED_DLL=$<TARGET_FILE:planted_riched20>")
  if(ARGC GREATER 1)
    set_tests_properties(${test} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()

if(TARGET Tessera)
  tessera_add_e2e(startup)
  tessera_add_e2e(startup 144)
  tessera_add_e2e(capture)
  tessera_add_e2e(numbering)
  tessera_add_e2e(crash)
  tessera_add_e2e(second_start)
  tessera_add_e2e(paste)
  tessera_add_e2e(keep_every_copy)
  tessera_add_e2e(search)
  tessera_add_e2e(hotkeys)
  tessera_add_e2e(choices)
  tessera_add_e2e(held_hotkey)
  tessera_add_e2e(tray)
  tessera_add_e2e(release)
  tessera_add_e2e(hostile)
  tessera_add_e2e(storage)
  tessera_add_e2e(clipboard)
  tessera_add_e2e(soak)
endif()
