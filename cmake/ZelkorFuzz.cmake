# The libFuzzer build: -DZELKOR_FUZZ=ON with Clang (CXX=clang++) builds the
# targets of tests/fuzz with -fsanitize=fuzzer,address,undefined over the
# text, core, jv and html libraries. GCC builds never include this file.
#
# Clang only takes UTF-8 as its execution character set, so every source
# and header is first copied into ${ZELKOR_CP932_DIR} with its non-ASCII
# characters written as the octal escapes of their CP932 bytes; the
# libraries are compiled from those copies and hold the same literals as a
# GCC build.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "ZELKOR_FUZZ needs Clang with libFuzzer: configure with CXX=clang++")
endif()

set(ZELKOR_CP932_DIR ${CMAKE_BINARY_DIR}/cp932)
set(ZELKOR_FUZZ_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined
    -fno-omit-frame-pointer -D_GLIBCXX_ASSERTIONS)

add_executable(zelkor_cp932_source ${PROJECT_SOURCE_DIR}/tests/fuzz/cp932_source.cpp)

# The CP932 copy of one file of the tree; its path in `outvar`.
function(zelkor_cp932_copy outvar source)
  get_filename_component(abs ${source} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR} ${abs})
  set(out ${ZELKOR_CP932_DIR}/${rel})
  get_filename_component(dir ${out} DIRECTORY)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND zelkor_cp932_source ${abs} ${out}
    DEPENDS zelkor_cp932_source ${abs}
    VERBATIM)
  set(${outvar} ${out} PARENT_SCOPE)
endfunction()

# Every header, copied before anything is compiled.
file(GLOB_RECURSE zelkor_headers CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/src/*.h ${PROJECT_SOURCE_DIR}/tests/*.h)
set(zelkor_header_copies)
foreach(header ${zelkor_headers})
  zelkor_cp932_copy(copy ${header})
  list(APPEND zelkor_header_copies ${copy})
endforeach()
add_custom_target(zelkor_cp932_headers DEPENDS ${zelkor_header_copies})

# The CP932 copies of `ARGN` in `outvar`.
function(zelkor_cp932_sources outvar)
  set(copies)
  foreach(source ${ARGN})
    zelkor_cp932_copy(copy ${source})
    list(APPEND copies ${copy})
  endforeach()
  set(${outvar} ${copies} PARENT_SCOPE)
endfunction()

# Compile settings of a target of the fuzz build: coverage for libFuzzer,
# the sanitizers, and the CP932 copies of the headers first on the path.
function(zelkor_fuzz_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -fsanitize=fuzzer-no-link
    ${ZELKOR_FUZZ_FLAGS})
  target_link_options(${target} PRIVATE ${ZELKOR_FUZZ_FLAGS})
  target_include_directories(${target} BEFORE PRIVATE ${ZELKOR_CP932_DIR}/src ${ZELKOR_CP932_DIR}/tests)
  add_dependencies(${target} zelkor_cp932_headers)
endfunction()
