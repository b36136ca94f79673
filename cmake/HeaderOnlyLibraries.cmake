# JSON (by two libraries: receipts of a million files are read by the faster one) and xxHash are
# used header-only, from Debian's packages. The cross build for Windows must not search the host's
# /usr/include, so their headers are linked into a folder of their own.
find_path(RV_JSON_INCLUDE nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_path(RV_RAPIDJSON_INCLUDE rapidjson/reader.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH
          REQUIRED)
find_path(RV_XXHASH_INCLUDE xxhash.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)

set(rv_header_only ${CMAKE_BINARY_DIR}/header_only)
file(MAKE_DIRECTORY ${rv_header_only})
file(CREATE_LINK ${RV_JSON_INCLUDE}/nlohmann ${rv_header_only}/nlohmann SYMBOLIC)
file(CREATE_LINK ${RV_RAPIDJSON_INCLUDE}/rapidjson ${rv_header_only}/rapidjson SYMBOLIC)
file(CREATE_LINK ${RV_XXHASH_INCLUDE}/xxhash.h ${rv_header_only}/xxhash.h SYMBOLIC)

add_library(header_only INTERFACE)
target_include_directories(header_only SYSTEM INTERFACE ${rv_header_only})
