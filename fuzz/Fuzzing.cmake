# The fuzz build (fuzz/run.sh): with -DTABLORA_FUZZ=ON and clang, the whole
# core is compiled with AddressSanitizer, UBSan and libFuzzer's coverage, and
# the targets in fuzz/ are added. Included by the top-level CMakeLists before
# the sources, so that the flags reach tablora_core.
option(TABLORA_FUZZ "Build the libFuzzer targets of fuzz/ under ASan and UBSan (needs clang)" OFF)
if(TABLORA_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "TABLORA_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
    endif()
    add_compile_options(-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=all
                        -fno-omit-frame-pointer -g)
    add_link_options(-fsanitize=address,undefined)
    add_subdirectory(fuzz)
endif()
