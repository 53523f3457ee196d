# nlohmann/json, header only, from the build machine's own package (Debian's
# nlohmann-json3-dev). Only its folder is copied under the build tree and put on the
# include path, so the cross compiler never sees the rest of the host's headers.
find_path(NLOHMANN_JSON_INCLUDE_DIR nlohmann/json.hpp
  PATHS /usr/include /usr/local/include
  NO_CMAKE_FIND_ROOT_PATH)
if(NOT NLOHMANN_JSON_INCLUDE_DIR)
  message(FATAL_ERROR "nlohmann/json.hpp not found: install the Debian package nlohmann-json3-dev")
endif()
set(NLOHMANN_JSON_BUILD_INCLUDE ${CMAKE_BINARY_DIR}/third_party/include)
file(COPY ${NLOHMANN_JSON_INCLUDE_DIR}/nlohmann DESTINATION ${NLOHMANN_JSON_BUILD_INCLUDE})
add_library(nlohmann_json INTERFACE)
target_include_directories(nlohmann_json SYSTEM INTERFACE ${NLOHMANN_JSON_BUILD_INCLUDE})
