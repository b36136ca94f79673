# The read and write passes against the shell tools that do the same job (Linux only: it runs
# find and cp and reads the peak memory from getrusage).
if(NOT WIN32)
    add_library(reference_tree STATIC ${CMAKE_CURRENT_LIST_DIR}/reference_tree.cpp)
    target_link_libraries(reference_tree PUBLIC receipts core rv_settings)
    add_executable(pass_bench ${CMAKE_CURRENT_LIST_DIR}/pass_bench.cpp)
    target_link_libraries(pass_bench PRIVATE reference_tree)
endif()
