# One INTERFACE target carries the compile settings of every target in the tree.
add_library(quorrel_settings INTERFACE)
target_compile_features(quorrel_settings INTERFACE cxx_std_20)
target_include_directories(quorrel_settings INTERFACE ${PROJECT_SOURCE_DIR})
target_compile_options(quorrel_settings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
    -Wsign-conversion)
if(QUORREL_WERROR)
    target_compile_options(quorrel_settings INTERFACE -Werror)
endif()
if(QUORREL_SANITIZE)
    target_compile_options(quorrel_settings INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(quorrel_settings INTERFACE -fsanitize=address,undefined)
endif()
if(QUORREL_FUZZ)
    # Every library instrumented for libFuzzer's coverage; the fuzz targets link its driver.
    target_compile_options(quorrel_settings INTERFACE
        -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
        -fno-omit-frame-pointer)
    target_link_options(quorrel_settings INTERFACE -fsanitize=address,undefined)
endif()
if(WIN32)
    # Narrow Windows API functions (the ...A family) and no min/max macros.
    target_compile_definitions(quorrel_settings INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX
        _WIN32_WINNT=0x0601)
    target_link_options(quorrel_settings INTERFACE -static -static-libgcc -static-libstdc++)
endif()
