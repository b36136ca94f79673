# The read pass through the Qt window under the offscreen platform, against the core's and find.
if(TARGET window_qt)
    add_executable(window_read_bench ${CMAKE_CURRENT_LIST_DIR}/window_read_bench.cpp)
    target_link_libraries(window_read_bench PRIVATE reference_tree window_qt Qt6::Test)
endif()
