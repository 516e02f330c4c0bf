# cmake -DHEADER=quorvex_api.h -DOUTPUT=FILE -P make_exports.cmake
# Writes one definition per entry point of the contract's list, X(name, type,
# critical), with the parameters of its slot type's typedef, each handing its
# arguments to qvabi::serve (shim/exports.cpp includes the result). The header's
# prototypes and its compile-time check then hold every definition to its slot
# type: a definition that differed would conflict with the prototype.
cmake_minimum_required(VERSION 3.25)
foreach(_var HEADER OUTPUT)
  if(NOT DEFINED ${_var})
    message(FATAL_ERROR "make_exports.cmake: ${_var} is not set")
  endif()
endforeach()
file(READ ${HEADER} _text)

# The slot types: typedef R(QV_API* PFN_x)(PARAMS)
string(REGEX MATCHALL "typedef [a-z0-9_]+\\(QV_API\\* PFN_[A-Za-z0-9_]+\\)\\([^)]*\\)" _typedefs
       "${_text}")
foreach(_typedef IN LISTS _typedefs)
  string(REGEX MATCH "typedef ([a-z0-9_]+)\\(QV_API\\* (PFN_[A-Za-z0-9_]+)\\)\\(([^)]*)\\)" _m
         "${_typedef}")
  set(_slot ${CMAKE_MATCH_2})
  set(_result_${_slot} ${CMAKE_MATCH_1})
  string(REGEX REPLACE "[ \t\r\n]+" " " _params "${CMAKE_MATCH_3}")
  string(STRIP "${_params}" _params)
  set(_params_${_slot} "${_params}")
endforeach()

string(REGEX MATCHALL "X\\([A-Za-z0-9_]+, *[A-Za-z0-9_]+, *[01]\\)" _items "${_text}")
set(_source "// Generated at build time from tuner/quorvex_api.h by shim/make_exports.cmake.\n")
set(_count 0)
foreach(_item IN LISTS _items)
  string(REGEX MATCH "X\\(([A-Za-z0-9_]+), *([A-Za-z0-9_]+)" _m "${_item}")
  set(_name ${CMAKE_MATCH_1})
  set(_type ${CMAKE_MATCH_2})
  if(NOT DEFINED _result_${_type})
    message(FATAL_ERROR "make_exports.cmake: ${_name}: no typedef of ${_type} in ${HEADER}")
  endif()
  set(_params "${_params_${_type}}")
  # The arguments are the parameters' names: the last word of each.
  set(_args "")
  if(NOT _params STREQUAL "void")
    string(REPLACE "," ";" _list "${_params}")
    foreach(_param IN LISTS _list)
      string(STRIP "${_param}" _param)
      if(NOT _param MATCHES "[A-Za-z_][A-Za-z0-9_]*$")
        message(FATAL_ERROR "make_exports.cmake: ${_type}: a parameter without a name: ${_param}")
      endif()
      list(APPEND _args ${CMAKE_MATCH_0})
    endforeach()
  endif()
  list(JOIN _args ", " _args)
  string(APPEND _source
         "QV_EXPORT ${_result_${_type}} QV_API ${_name}(${_params}) {\n"
         "  return qvabi::serve<qvabi::Ep::${_name}, ${_type}>(${_args});\n"
         "}\n")
  math(EXPR _count "${_count} + 1")
endforeach()
if(NOT _count EQUAL 42)
  message(FATAL_ERROR "make_exports.cmake: expected 42 entry points in ${HEADER}, found ${_count}")
endif()

# Through a temporary file, so an interrupted build leaves no half source.
file(WRITE ${OUTPUT}.tmp "${_source}")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
