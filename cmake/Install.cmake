# cmake --install: the program folder under lib/orvalin, links to its two
# programs in bin/. The data's own rules (desktop entry, icon, manual, the
# shipped parameters file) are in data/.

# The binaries as targets, so that an install or package can strip them.
install(TARGETS orvalin orvalin-convert RUNTIME DESTINATION ${ORVALIN_INSTALL_PROGRAM_DIR})
install(TARGETS decoder lame_enc LIBRARY DESTINATION ${ORVALIN_INSTALL_PROGRAM_DIR})

# Everything else the build lays out there, whatever it is, but for what the
# build's own runs change or leave there: its parameters file and temporaries,
# the desktop entry that names the build folder, and the preview page. The
# rules match whole paths, and the folder itself is named orvalin like the
# program, so they name their files from the folder down.
string(REGEX REPLACE "[][.*+?^$|(){}\\]" "\\\\\\0" program_dir_regex ${ORVALIN_PROGRAM_DIR})
install(DIRECTORY ${ORVALIN_PROGRAM_DIR}/ DESTINATION ${ORVALIN_INSTALL_PROGRAM_DIR}
  USE_SOURCE_PERMISSIONS
  REGEX "^${program_dir_regex}/(orvalin|orvalin-convert|decoder\\.so|lame_enc\\.so)$" EXCLUDE
  REGEX "^${program_dir_regex}/(orvaln\\.da0.*|orvalin\\.desktop|Controllers/preview\\.htm)$" EXCLUDE)

# Relative links, so that the tree works under any prefix and staging folder.
file(RELATIVE_PATH bin_to_program /${CMAKE_INSTALL_BINDIR} /${ORVALIN_INSTALL_PROGRAM_DIR})
foreach(program orvalin orvalin-convert)
  set(link ${CMAKE_BINARY_DIR}/bin-links/${program})
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/bin-links)
  file(CREATE_LINK ${bin_to_program}/${program} ${link} SYMBOLIC)
  install(FILES ${link} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()
