# Checks the include rules between the source folders; fails naming each file and include that
# breaks them. The arrows point down:
#   commands/, store/, controls/, keys/, lang/ never include app/;
#   store/ never includes controls/;
#   win/, the toolkit, includes no subsystem folder;
#   text/, the portable text helpers, includes none of the others;
#   search/, the search over the items, includes text/ and store/ only.
# Run by ctest (the "layers" test) or alone:  cmake -P cmake/check_layers.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT SRC)
  get_filename_component(SRC "${CMAKE_CURRENT_LIST_DIR}/../src" ABSOLUTE)
endif()

# Folder, then the folders its files may not include.
set(rules
  "commands=app"
  "store=app,controls"
  "controls=app"
  "keys=app"
  "lang=app"
  "win=app,store,commands,controls,keys,lang,search"
  "text=app,store,commands,controls,keys,lang,win,search"
  "search=app,commands,controls,keys,lang,win")

set(broken 0)
foreach(rule IN LISTS rules)
  string(REGEX REPLACE "[=,]" ";" rule "${rule}")
  list(POP_FRONT rule folder)
  file(GLOB_RECURSE files RELATIVE "${SRC}" "${SRC}/${folder}/*.h" "${SRC}/${folder}/*.cpp")
  list(SORT files)
  foreach(file IN LISTS files)
    file(STRINGS "${SRC}/${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]*)[\">].*$" "\\1" included "${line}")
      # A path that climbs out of the folder ("../app/x.h") names the folder it lands in.
      string(REGEX REPLACE "^(\\.\\./)+" "" target "${included}")
      string(REGEX MATCH "^[^/]+" target_folder "${target}")
      if(NOT target_folder IN_LIST rule)
        continue()
      endif()
      message(STATUS "layers: src/${file} includes \"${included}\": ${folder}/ may not include ${target_folder}/")
      math(EXPR broken "${broken} + 1")
    endforeach()
  endforeach()
endforeach()

if(broken GREATER 0)
  message(FATAL_ERROR "layers: ${broken} problem(s) with the include rules (see above)")
endif()
message(STATUS "layers: every include follows the rules")
