# Shared compile settings of every project target.
#
# Warnings are errors for developers and CI (scripts/setup.sh turns this on);
# someone who only builds or packages the program gets them as warnings.
option(ZELKOR_WERROR "Treat compiler warnings as errors" OFF)
# The tests that drive the browser or the window manager skip where those
# are missing; CI turns this on (as does a set CI variable) to fail them.
option(ZELKOR_REQUIRE_OUTSIDE_TOOLS "Fail, not skip, tests whose outside programs are missing" OFF)
#
# Narrow literals are CP932 in the program, so "【穴馬】" in the source is
# already the bytes every file and page needs. //TRANSLIT keeps the build
# going on the one "µs" literal inside libstdc++'s <chrono>.
#
# Clang encodes narrow literals only in UTF-8, so with Clang (the fuzz build
# included) every project source goes through cmake/cp932_compile.cpp,
# which gives its literals the CP932 bytes before compiling.
# (It is built with every compiler, so a test tries it with GCC as well.)
add_executable(zelkor_cp932_compile ${CMAKE_CURRENT_LIST_DIR}/cp932_compile.cpp)
set_target_properties(zelkor_cp932_compile PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools OUTPUT_NAME cp932-compile
  CXX_COMPILER_LAUNCHER "")

# Narrow literals of `target` in CP932, whatever the compiler.
function(zelkor_cp932_literals target)
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    set_target_properties(${target} PROPERTIES
      CXX_COMPILER_LAUNCHER ${CMAKE_BINARY_DIR}/tools/cp932-compile)
    add_dependencies(${target} zelkor_cp932_compile)
  else()
    target_compile_options(${target} PRIVATE -fexec-charset=CP932//TRANSLIT)
  endif()
endfunction()

function(zelkor_target_options target)
  zelkor_cp932_literals(${target})
  if(ZELKOR_FUZZ)
    zelkor_fuzz_options(${target})
    return()
  endif()
  target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -Wall -Wextra -Wpedantic)
  if(ZELKOR_WERROR)
    target_compile_options(${target} PRIVATE -Werror -Wno-error=deprecated-declarations)
    # GCC 12 reports false -Wrestrict and -Wmaybe-uninitialized hits inside
    # std::string's inlined copies of aggregate temporaries (optimised or
    # instrumented builds); keep them visible, not fatal.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
      target_compile_options(${target} PRIVATE -Wno-error=restrict -Wno-error=maybe-uninitialized)
    endif()
  endif()
  if(ZELKOR_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# A library of the project: sources under src/<name>, headers included as
# "<name>/header.h" from src/.
function(zelkor_library name)
  add_library(zelkor_${name} STATIC ${ARGN})
  target_include_directories(zelkor_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  zelkor_target_options(zelkor_${name})
  add_library(zelkor::${name} ALIAS zelkor_${name})
endfunction()

# A GoogleTest executable registered with CTest.
function(zelkor_test name)
  add_executable(${name} ${ARGN})
  zelkor_target_options(${name})
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main zelkor_temp_home)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  # One ENVIRONMENT pair per variable: a ";"-joined list would be split
  # apart on its way through the discovery script.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "ZELKOR_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
               ENVIRONMENT "ZELKOR_BIN_DIR=${ZELKOR_RUNTIME_DIR}"
               ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
               ENVIRONMENT "ZELKOR_REQUIRE_OUTSIDE_TOOLS=${ZELKOR_REQUIRE_OUTSIDE_TOOLS}"
               ENVIRONMENT "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/support/lsan.supp")
endfunction()
