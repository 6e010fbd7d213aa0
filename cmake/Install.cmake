# What `cmake --install` puts under the prefix: the programs in bin/, the module and the stand-ins'
# shared libraries in lib/quillon/ (found through the programs' run path, $ORIGIN-relative, so the
# prefix can move), a man page per program, the docs and the licences in share/doc/quillon/.
# qhost's browser page is compiled into qhost, so it needs no files of its own.
# Test inputs (tests/, examples' corpus, ../shared) are never installed.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(quillon_doc_dir share/doc/quillon)

# The programs: qtext joins when its folder exists (apps/qtext).
set(quillon_programs)
foreach(program qhost qconvert qtext)
  if(TARGET ${program})
    list(APPEND quillon_programs ${program})
  endif()
endforeach()
set(quillon_libraries)
foreach(library qcstring qbase qwin32 qmfc qcolor qarx quillon_arx)
  if(TARGET ${library})
    list(APPEND quillon_libraries ${library})
  endif()
endforeach()

set_target_properties(${quillon_programs} PROPERTIES INSTALL_RPATH "$ORIGIN/../${QUILLON_INSTALL_LIBDIR}")
set_target_properties(${quillon_libraries} PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS ${quillon_programs} RUNTIME DESTINATION bin)
install(TARGETS ${quillon_libraries} LIBRARY DESTINATION ${QUILLON_INSTALL_LIBDIR})

# A man page per program, made by help2man from the program's own --help and --version, so that
# the page and the program never disagree.
find_program(QUILLON_HELP2MAN help2man)
find_program(QUILLON_GZIP gzip)
if(NOT QUILLON_HELP2MAN OR NOT QUILLON_GZIP)
  message(WARNING "help2man or gzip missing: the programs are installed without man pages")
else()
  set(quillon_man_qhost "host application that opens a DXF drawing and runs the Quillon MText editor")
  set(quillon_man_qconvert "convert between RTF documents and MText contents")
  set(quillon_man_qtext "find, replace and spell-check the texts of DXF drawings")
  set(quillon_man_pages)
  foreach(program IN LISTS quillon_programs)
    set(page "${CMAKE_BINARY_DIR}/man/${program}.1")
    add_custom_command(OUTPUT "${page}.gz"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/man"
      COMMAND "${QUILLON_HELP2MAN}" --no-info --section=1 --name=${quillon_man_${program}}
              --source=Quillon --output=${page} $<TARGET_FILE:${program}>
      COMMAND "${QUILLON_GZIP}" -9nf "${page}"
      DEPENDS ${program} VERBATIM)
    list(APPEND quillon_man_pages "${page}.gz")
  endforeach()
  add_custom_target(quillon_man ALL DEPENDS ${quillon_man_pages})
  install(FILES ${quillon_man_pages} DESTINATION share/man/man1)
endif()

# The Debian changelog, compressed as the Debian policy wants it.
add_custom_command(OUTPUT "${CMAKE_BINARY_DIR}/changelog.Debian.gz"
  COMMAND "${QUILLON_GZIP}" -9nc "${CMAKE_SOURCE_DIR}/packaging/changelog.Debian" > "${CMAKE_BINARY_DIR}/changelog.Debian.gz"
  DEPENDS "${CMAKE_SOURCE_DIR}/packaging/changelog.Debian" VERBATIM)
add_custom_target(quillon_changelog ALL DEPENDS "${CMAKE_BINARY_DIR}/changelog.Debian.gz")

# The copyright file in Debian's machine-readable form, its licence text the one of LICENSE.
file(READ LICENSE quillon_licence)
string(REGEX REPLACE "\n$" "" quillon_licence "${quillon_licence}")
string(REPLACE "\n\n" "\n.\n" quillon_licence "${quillon_licence}")
string(REPLACE "\n" "\n " quillon_licence "${quillon_licence}")
configure_file(packaging/copyright.in "${CMAKE_BINARY_DIR}/copyright" @ONLY)

install(FILES README.md THIRD-PARTY.md "${CMAKE_BINARY_DIR}/copyright" "${CMAKE_BINARY_DIR}/changelog.Debian.gz"
        DESTINATION ${quillon_doc_dir})
install(DIRECTORY docs/ DESTINATION ${quillon_doc_dir}/docs)
