# The libFuzzer build: -DZELKOR_FUZZ=ON with Clang (CXX=clang++) builds the
# targets of tests/fuzz with -fsanitize=fuzzer,address,undefined over the
# libraries below the front ends. GCC builds never include this file.
# Its literals get their CP932 bytes as in every Clang build, through the
# cp932-compile launcher (ZelkorOptions.cmake).
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "ZELKOR_FUZZ needs Clang with libFuzzer: configure with CXX=clang++")
endif()

set(ZELKOR_FUZZ_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined
    -fno-omit-frame-pointer -D_GLIBCXX_ASSERTIONS)

# Compile settings of a target of the fuzz build: coverage for libFuzzer and
# the sanitizers.
function(zelkor_fuzz_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -fsanitize=fuzzer-no-link
    ${ZELKOR_FUZZ_FLAGS})
  target_link_options(${target} PRIVATE ${ZELKOR_FUZZ_FLAGS})
endfunction()
