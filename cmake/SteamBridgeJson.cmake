# steambridge_json: nlohmann/json.hpp (Debian's nlohmann-json3-dev) for the
# simulator's file formats, in native and mingw cross builds alike.
include_guard(GLOBAL)

add_library(steambridge_json INTERFACE)
if(NOT CMAKE_CROSSCOMPILING)
  find_package(nlohmann_json 3.9 CONFIG REQUIRED)
  target_link_libraries(steambridge_json INTERFACE nlohmann_json::nlohmann_json)
else()
  # The header-only library is the build machine's. Its folder, /usr/include,
  # also holds glibc's headers, which must never reach a mingw compile, so
  # the build tree gets a folder holding nlohmann/ alone.
  find_path(STEAMBRIDGE_NLOHMANN_JSON_DIR nlohmann/json.hpp
    PATHS /usr/include /usr/local/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(json_include_dir ${CMAKE_BINARY_DIR}/steambridge-json-include)
  file(MAKE_DIRECTORY ${json_include_dir})
  file(CREATE_LINK ${STEAMBRIDGE_NLOHMANN_JSON_DIR}/nlohmann ${json_include_dir}/nlohmann
    SYMBOLIC COPY_ON_ERROR)
  target_include_directories(steambridge_json SYSTEM INTERFACE ${json_include_dir})
endif()
