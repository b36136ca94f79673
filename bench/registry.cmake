# Parse time of a Wine hive the size of a fresh prefix's system.reg, and of a whole look-up.
if(NOT WIN32)
    add_executable(registry_bench ${CMAKE_CURRENT_LIST_DIR}/registry_bench.cpp)
    target_link_libraries(registry_bench PRIVATE edition platform rv_settings)
endif()
