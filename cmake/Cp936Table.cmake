# The code page 936 table of the portable conversions (src/util/
# cp936_portable.cpp), generated from Python's gbk codec at build time.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(VELMORA_CP936_TABLE ${CMAKE_BINARY_DIR}/generated/util/cp936_table.inc)
add_custom_command(
  OUTPUT ${VELMORA_CP936_TABLE}
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/src/util/gen_cp936_table.py ${VELMORA_CP936_TABLE}
  DEPENDS ${PROJECT_SOURCE_DIR}/src/util/gen_cp936_table.py
  COMMENT "Generating the code page 936 table"
  VERBATIM)
target_sources(velmora_core PRIVATE ${VELMORA_CP936_TABLE})
