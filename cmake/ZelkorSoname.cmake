# zelkor_soname(VAR NAME LIBRARY_DIRS): sets VAR to the name the dynamic
# linker knows library NAME by (its SONAME, libsqlite3.so.0), read from the
# development library found in LIBRARY_DIRS or the usual places.
function(zelkor_soname var name dirs)
  find_library(ZELKOR_LIBRARY_${name} NAMES ${name} HINTS ${dirs})
  if(NOT ZELKOR_LIBRARY_${name})
    message(FATAL_ERROR "lib${name} (its development files) was not found")
  endif()
  execute_process(COMMAND ${CMAKE_OBJDUMP} -p ${ZELKOR_LIBRARY_${name}}
                  OUTPUT_VARIABLE headers RESULT_VARIABLE failed)
  if(failed OR NOT headers MATCHES "SONAME +([^\n]+)")
    message(FATAL_ERROR "the SONAME of ${ZELKOR_LIBRARY_${name}} could not be read")
  endif()
  set(${var} ${CMAKE_MATCH_1} PARENT_SCOPE)
  # The package installs the library that holds the name, and depends on it.
  get_filename_component(directory ${ZELKOR_LIBRARY_${name}} DIRECTORY)
  set_property(GLOBAL APPEND PROPERTY ZELKOR_LOADED_LIBRARIES ${directory}/${CMAKE_MATCH_1})
endfunction()
