# The longest stall of the window while one large file is copied (Linux: a sparse source).
if(NOT WIN32)
    add_executable(large_copy_bench ${CMAKE_CURRENT_LIST_DIR}/large_copy_bench.cpp)
    target_link_libraries(large_copy_bench PRIVATE core rv_settings)
endif()
