# The layers below the window point down: util/ includes nothing of ours
# from outside util/; http/ and model/ build on util/ alone; extract/,
# verify/ and actions/ build on model/, http/ and util/ and never on each
# other, and none of them sees ui/ or app/: what they need of the window is
# declared in model/ or in their own folder. Fails naming each offending file
# and include.
# Usage: cmake -DSOURCE_DIR=<repository> -DLAYERS=<folder>[,<folder>...] -P CheckIncludes.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT SOURCE_DIR OR NOT LAYERS)
  message(FATAL_ERROR "SOURCE_DIR and LAYERS must be set")
endif()
string(REPLACE "," ";" LAYERS "${LAYERS}")

# What each layer may include besides its own folder.
set(below_util "")
set(below_http util)
set(below_model util)
set(below_extract model http util)
set(below_verify model http util)
set(below_actions model http util)
# The generated build settings, which every layer may read.
set(shared build_config.h)

file(GLOB ourFolders LIST_DIRECTORIES true RELATIVE "${SOURCE_DIR}/src" "${SOURCE_DIR}/src/*")
set(violations 0)
set(count 0)
foreach(layer IN LISTS LAYERS)
  set(root "${SOURCE_DIR}/src/${layer}")
  set(allowedTops ${layer} ${below_${layer}})
  file(GLOB_RECURSE files "${root}/*.h" "${root}/*.hpp" "${root}/*.cpp" "${root}/*.inc")
  if(NOT files)
    message(FATAL_ERROR "no sources found under src/${layer}/")
  endif()
  foreach(file IN LISTS files)
    math(EXPR count "${count} + 1")
    file(RELATIVE_PATH shown "${SOURCE_DIR}" "${file}")
    get_filename_component(folder "${file}" DIRECTORY)
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS lines)
      if(NOT line MATCHES "#[ \t]*include[ \t]*([\"<])([^\">]+)[\">]")
        continue()
      endif()
      set(quoted "${CMAKE_MATCH_1}")
      set(included "${CMAKE_MATCH_2}")
      string(REGEX REPLACE "/.*" "" top "${included}")
      set(allowed TRUE)
      if(NOT layer STREQUAL "util" AND included IN_LIST shared)
        # allowed
      elseif(quoted STREQUAL "\"" AND NOT top STREQUAL included)
        # Ours are written from src/ ("util/text.h").
        if(NOT top IN_LIST allowedTops)
          set(allowed FALSE)
        endif()
      elseif(quoted STREQUAL "\"")
        # A name beside the including file must stay inside the layer.
        get_filename_component(beside "${included}" ABSOLUTE BASE_DIR "${folder}")
        string(FIND "${beside}" "${root}/" at)
        if(NOT at EQUAL 0 OR NOT EXISTS "${beside}")
          set(allowed FALSE)
        endif()
      elseif(top IN_LIST ourFolders AND NOT top STREQUAL included AND NOT top IN_LIST allowedTops)
        set(allowed FALSE)
      endif()
      if(NOT allowed)
        message(SEND_ERROR "${shown}: ${line} reaches up or across from src/${layer}/")
        math(EXPR violations "${violations} + 1")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations GREATER 0)
  message(FATAL_ERROR "${violations} include(s) break the layers")
endif()
string(REPLACE ";" ", " shownLayers "${LAYERS}")
message(STATUS "${count} files under ${shownLayers} include only what lies below")
