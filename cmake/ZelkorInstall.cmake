# What `cmake --install` puts where, and the Debian package made from it by
# `cpack -G DEB`. The data files are installed by resources/CMakeLists.txt.

install(TARGETS zelkor2k-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(ZELKOR_BUILD_GUI)
  install(TARGETS zelkor2k RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

set(CPACK_PACKAGE_NAME zelkor2k)
set(CPACK_PACKAGE_VENDOR Qorvex)
set(CPACK_PACKAGE_CONTACT "Qorvex <zelkor2k@qorvex.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "dark-horse predictor for Japanese horse races")
set(CPACK_PACKAGE_HOMEPAGE_URL ${ZELKOR_HOMEPAGE})
set(CPACK_PACKAGE_INSTALL_DIRECTORY zelkor2k)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The libraries loaded when first used are not seen by dpkg-shlibdeps: the
# package depends on the packages that hold them.
get_property(zelkor_loaded GLOBAL PROPERTY ZELKOR_LOADED_LIBRARIES)
find_program(ZELKOR_DPKG_QUERY dpkg-query)
if(ZELKOR_DPKG_QUERY)
  foreach(library IN LISTS zelkor_loaded)
    execute_process(COMMAND ${ZELKOR_DPKG_QUERY} -S ${library}
                    OUTPUT_VARIABLE owner RESULT_VARIABLE failed ERROR_QUIET)
    if(failed OR NOT owner MATCHES "^([^:,]+)")
      message(WARNING "no Debian package holds ${library}: the package will not depend on it")
    else()
      list(APPEND zelkor_depends ${CMAKE_MATCH_1})
    endif()
  endforeach()
  list(JOIN zelkor_depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
endif()
# The help and the pages open in the user's browser through xdg-open; the
# windows need a font with Japanese characters, and Qt's own dialogs (file
# choosers, standard buttons) speak Japanese with its translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "xdg-utils, fonts-noto-cjk | fonts-ipafont-gothic | fonts-vlgothic, qt6-translations-l10n")
# The long description; CPack indents it and marks the empty line.
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Zelkor Uma 2000 finds the dark horses of a Japanese horse race: runners that\n"
    "the betting public underrates but that may well run into the money. A race\n"
    "is typed in by hand or loaded from JRA-VAN race data; every runner is\n"
    "scored and ranked, the dark horses are named and place and quinella bets\n"
    "proposed. The prediction is written as HTML pages (race sheet, sports page,\n"
    "racing newspapers) and saved as a small prediction file (.zel).\n"
    "\n"
    "The package holds the Qt desktop program zelkor2k and the command-line\n"
    "front end zelkor2k-cli.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
