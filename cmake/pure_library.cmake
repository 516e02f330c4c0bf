# A folder's logic as a library of its own that the program's dialog builds
# on. It must not reach into app/ (the dialog depends on it, never the other
# way round), nor into a window or a toolkit: it reaches the dialog through
# tuner/ui_port.h. The include path is the project's root (its headers name
# their folder), so a check run before each build of the library enforces
# this.
function(qv_pure_library name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;HEADERS;LINK")
  add_library(${name} STATIC ${arg_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${arg_LINK})
  set(files)
  foreach(file IN LISTS arg_SOURCES arg_HEADERS)
    list(APPEND files ${CMAKE_CURRENT_SOURCE_DIR}/${file})
  endforeach()
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${name}.no_app_include)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} "-DFILES=${files}" -DSTAMP=${stamp} -P
            ${PROJECT_SOURCE_DIR}/cmake/check_no_app_include.cmake
    DEPENDS ${files} ${PROJECT_SOURCE_DIR}/cmake/check_no_app_include.cmake
    COMMENT "Checking that ${name} does not include app/"
    VERBATIM)
  add_custom_target(${name}_no_app_include DEPENDS ${stamp})
  add_dependencies(${name} ${name}_no_app_include)
endfunction()
