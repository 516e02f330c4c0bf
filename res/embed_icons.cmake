# cmake -DICON_DIR=DIR -DSIZES="16;24;..." -DOUTPUT=FILE -P embed_icons.cmake
# Writes the application icon's PNGs (DIR/quorvex_<N>.png, one per size, smallest
# first) as the C++ arrays res/icon.h declares, so every host embeds exactly the
# files the installed icons and the Windows resource are made from.
cmake_minimum_required(VERSION 3.25)
foreach(_var ICON_DIR SIZES OUTPUT)
  if(NOT DEFINED ${_var})
    message(FATAL_ERROR "embed_icons.cmake: ${_var} is not set")
  endif()
endforeach()

string(REPEAT "[0-9a-f]" 32 _line)
set(_arrays "")
set(_table "")
list(LENGTH SIZES _count)
foreach(_size IN LISTS SIZES)
  set(_png ${ICON_DIR}/quorvex_${_size}.png)
  if(NOT EXISTS ${_png})
    message(FATAL_ERROR "embed_icons.cmake: ${_png} is missing")
  endif()
  file(SIZE ${_png} _length)
  if(_length EQUAL 0)
    message(FATAL_ERROR "embed_icons.cmake: ${_png} is empty")
  endif()
  file(READ ${_png} _hex HEX)
  # Sixteen bytes to a line, each as 0xNN (CMake's expressions have no {n}).
  string(REGEX REPLACE "(${_line})" "\\1\n" _bytes "${_hex}")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1, " _bytes "${_bytes}")
  string(REPLACE ", \n" ",\n    " _bytes "${_bytes}")
  string(REGEX REPLACE "[ \n]+$" "" _bytes "${_bytes}")
  string(APPEND _arrays "const unsigned char kPng${_size}[${_length}] = {\n    ${_bytes}\n};\n\n")
  string(APPEND _table "    {${_size}, kPng${_size}, sizeof kPng${_size}},\n")
endforeach()

set(_source "// Generated at build time from res/icons/*.png by res/embed_icons.cmake.
#include \"res/icon.h\"

namespace res {

namespace {

${_arrays}}  // namespace

extern const IconImage kAppIconImages[] = {
${_table}};
extern const size_t kAppIconImageCount = ${_count};

}  // namespace res
")

# Written through a temporary file and renamed, so an interrupted build never
# leaves half a source behind to compile.
file(WRITE ${OUTPUT}.tmp "${_source}")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
