# Shared compile settings of every project target.
#
# Narrow literals are CP932 in the program, so "【穴馬】" in the source is
# already the bytes every file and page needs. //TRANSLIT keeps the build
# going on the one "µs" literal inside libstdc++'s <chrono>.
function(zelkor_target_options target)
  if(ZELKOR_FUZZ)
    zelkor_fuzz_options(${target})
    return()
  endif()
  target_compile_options(${target} PRIVATE
    -finput-charset=UTF-8
    -fexec-charset=CP932//TRANSLIT
    -Wall -Wextra -Wpedantic -Werror
    -Wno-error=deprecated-declarations)
  if(ZELKOR_SANITIZE)
    # GCC 12 reports false -Wrestrict hits inside std::string when the
    # sanitizers instrument it; keep them visible but not fatal there.
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
      -Wno-error=restrict)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# A library of the project: sources under src/<name>, headers included as
# "<name>/header.h" from src/.
function(zelkor_library name)
  set(sources ${ARGN})
  if(ZELKOR_FUZZ)
    zelkor_cp932_sources(sources ${ARGN})
  endif()
  add_library(zelkor_${name} STATIC ${sources})
  target_include_directories(zelkor_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  zelkor_target_options(zelkor_${name})
  add_library(zelkor::${name} ALIAS zelkor_${name})
endfunction()

# A GoogleTest executable registered with CTest.
function(zelkor_test name)
  add_executable(${name} ${ARGN})
  zelkor_target_options(${name})
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  # One ENVIRONMENT pair per variable: a ";"-joined list would be split
  # apart on its way through the discovery script.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "ZELKOR_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
               ENVIRONMENT "ZELKOR_BIN_DIR=${ZELKOR_RUNTIME_DIR}"
               ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
               ENVIRONMENT "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/support/lsan.supp")
endfunction()
