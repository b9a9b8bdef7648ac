# The layers between the window and src/util/ point down: http/ builds on
# util/ alone; extract/, verify/ and actions/ build on http/ and util/, see
# the window only through ControlOperations and never each other. Fails
# naming each offending file and include.
# Usage: cmake -DSOURCE_DIR=<repository> -P CheckLayerIncludes.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

# The window's interface for the layers below it, and the shared helpers
# (wide text, run-time binding, system libraries) that every layer may use.
set(shared
    ui/control_ops.h ui/ids.h ui/proxy_rows.h ui/wide.h
    app/runtime_binding.h app/system_library_win.h)
set(below_http http util)
set(below_extract extract http util)
set(below_verify verify http util)
set(below_actions actions http util)

set(violations 0)
set(count 0)
foreach(layer http extract verify actions)
  file(GLOB_RECURSE files "${SOURCE_DIR}/src/${layer}/*.h" "${SOURCE_DIR}/src/${layer}/*.cpp")
  if(NOT files)
    message(FATAL_ERROR "no sources found under src/${layer}/")
  endif()
  foreach(file IN LISTS files)
    math(EXPR count "${count} + 1")
    file(RELATIVE_PATH shown "${SOURCE_DIR}" "${file}")
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS lines)
      if(NOT line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
        continue()
      endif()
      set(included "${CMAKE_MATCH_1}")
      if(NOT included MATCHES "/" OR included IN_LIST shared)
        continue()
      endif()
      string(REGEX REPLACE "/.*" "" top "${included}")
      if(NOT top IN_LIST below_${layer})
        message(SEND_ERROR "${shown}: ${line} reaches up or across from src/${layer}/")
        math(EXPR violations "${violations} + 1")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations GREATER 0)
  message(FATAL_ERROR "${violations} include(s) break the layers")
endif()
message(STATUS "${count} files under http/, extract/, verify/, actions/ include only what lies below")
