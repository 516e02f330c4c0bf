# The build machine's nlohmann/json headers for a cross build: only the
# nlohmann folder is put on the include path, never the machine's /usr/include,
# whose C library headers would shadow the cross compiler's.
if(NOT TARGET nlohmann_json::nlohmann_json)
  find_path(QV_NLOHMANN_JSON_HEADER nlohmann/json.hpp PATHS /usr/include NO_DEFAULT_PATH
            NO_CMAKE_FIND_ROOT_PATH)
  if(NOT QV_NLOHMANN_JSON_HEADER)
    set(nlohmann_json_FOUND FALSE)
    return()
  endif()
  set(_qv_json_dir ${CMAKE_BINARY_DIR}/cross-include)
  file(MAKE_DIRECTORY ${_qv_json_dir})
  file(CREATE_LINK ${QV_NLOHMANN_JSON_HEADER}/nlohmann ${_qv_json_dir}/nlohmann SYMBOLIC)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
                        INTERFACE_INCLUDE_DIRECTORIES ${_qv_json_dir})
endif()
set(nlohmann_json_FOUND TRUE)
set(nlohmann_json_VERSION 3)
