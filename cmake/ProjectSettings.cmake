# Settings every target of the project links: language level, warnings, hygiene macros.
add_library(rv_settings INTERFACE)
target_compile_features(rv_settings INTERFACE cxx_std_20)

option(RV_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)
option(RV_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

if(MSVC)
    target_compile_options(rv_settings INTERFACE /W4 /permissive- /utf-8)
    if(RV_WARNINGS_AS_ERRORS)
        target_compile_options(rv_settings INTERFACE /WX)
    endif()
else()
    target_compile_options(rv_settings INTERFACE
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
        -Wold-style-cast -Wnon-virtual-dtor -Woverloaded-virtual)
    if(RV_WARNINGS_AS_ERRORS)
        target_compile_options(rv_settings INTERFACE -Werror)
    endif()
endif()

# Qt strings are built from UTF-8 on purpose, never by a silent conversion; the standard
# library checks its bounds and preconditions in every build.
target_compile_definitions(rv_settings INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII _GLIBCXX_ASSERTIONS)
if(WIN32)
    target_compile_definitions(rv_settings INTERFACE
        NOMINMAX WIN32_LEAN_AND_MEAN UNICODE _UNICODE _WIN32_WINNT=0x0601)
endif()

if(RV_SANITIZE)
    target_compile_options(rv_settings INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    target_link_options(rv_settings INTERFACE -fsanitize=address,undefined)
endif()
