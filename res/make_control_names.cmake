# cmake -DHEADER=resource_ids.h -DOUTPUT=FILE -P make_control_names.cmake
# Writes the table of control names res/control_names.cpp includes: one
# {"IDC_x", IDC_x} entry per control id the header defines, so the names a
# script may use are always the header's own (the values come from the header
# itself when the table is compiled).
cmake_minimum_required(VERSION 3.25)
foreach(_var HEADER OUTPUT)
  if(NOT DEFINED ${_var})
    message(FATAL_ERROR "make_control_names.cmake: ${_var} is not set")
  endif()
endforeach()
file(STRINGS ${HEADER} _lines REGEX "IDC_")
set(_source "// Generated at build time from res/resource_ids.h by res/make_control_names.cmake.\n")
foreach(_line IN LISTS _lines)
  if(_line MATCHES "^[ \t]*//")
    continue()
  endif()
  # A line naming a control id the table could not take would leave that name
  # out of every script: refuse it rather than skip it.
  if(NOT _line MATCHES "^inline constexpr int (IDC_[A-Z0-9_]+) = [0-9]+;")
    message(FATAL_ERROR "make_control_names.cmake: ${HEADER}: not a control id definition: ${_line}")
  endif()
  string(APPEND _source "{\"${CMAKE_MATCH_1}\", ${CMAKE_MATCH_1}},\n")
endforeach()
file(WRITE ${OUTPUT}.tmp "${_source}")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
