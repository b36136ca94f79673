# The command line's listing and removal of a receipt of a million files, against `rm` of the
# same files (Linux only: it reads the peak memory of the program from wait4).
if(NOT WIN32)
    add_executable(receipt_bench ${CMAKE_CURRENT_LIST_DIR}/receipt_bench.cpp)
    target_link_libraries(receipt_bench PRIVATE receipts rv_settings header_only)
    if(TARGET rv-addon-installer)
        target_compile_definitions(receipt_bench
                                   PRIVATE RV_PROGRAM="$<TARGET_FILE:rv-addon-installer>")
        add_dependencies(receipt_bench rv-addon-installer)
    endif()
endif()
