# `make package`: a Debian package of what cmake/Install.cmake installs, under /usr.
# Its dependencies come from dpkg-shlibdeps (the libraries the programs and the module link) and
# from the global property QUILLON_PACKAGE_DEPENDS, where a program adds what it needs at run
# time without linking it (a dictionary, say):
#   set_property(GLOBAL APPEND PROPERTY QUILLON_PACKAGE_DEPENDS "hunspell-ru")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_VENDOR "Quillon developers")
set(CPACK_PACKAGE_CONTACT "Quillon developers <developers@quillon.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "rich-text editor for the multiline texts of CAD drawings")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://quillon.example/")
# CPack puts the summary on the first line itself.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Quillon edits the multiline text (MText) of CAD drawings with fonts, heights,
colours, bold, italic and underline, and converts both ways between MText
inline codes and RTF. This package holds qhost, a host application that opens
DXF drawings and runs the editor at the terminal or in a browser page, and
qconvert, which converts RTF documents and MText contents on the command line.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS "${CMAKE_BINARY_DIR}/platform")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xdg-utils")  # qhost --open-links hands links to xdg-open
get_property(quillon_depends GLOBAL PROPERTY QUILLON_PACKAGE_DEPENDS)
list(REMOVE_DUPLICATES quillon_depends)
string(JOIN ", " CPACK_DEBIAN_PACKAGE_DEPENDS ${quillon_depends})

# The changelog's latest entry names the version the package is built as.
file(STRINGS packaging/changelog.Debian quillon_changelog_top LIMIT_COUNT 1)
if(NOT quillon_changelog_top MATCHES "^quillon \\(${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}\\) ")
  message(FATAL_ERROR "packaging/changelog.Debian: its latest entry is not ${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}")
endif()
include(CPack)
