# cpack, or the package target, makes orvalin_<version>_amd64.deb from the
# install rules, for /usr. Its Depends come from the shared libraries the
# programs and modules use (dpkg-shlibdeps, from dpkg-dev).

# The version the programs show is the package's.
file(STRINGS ${PROJECT_SOURCE_DIR}/src/common/ProgramContext.h version_line REGEX "kVersionText = ")
string(REGEX REPLACE ".*\"(.+)\".*" "\\1" ORVALIN_VERSION_TEXT "${version_line}")
if(NOT ORVALIN_VERSION_TEXT VERSION_EQUAL PROJECT_VERSION)
  message(FATAL_ERROR "kVersionText \"${ORVALIN_VERSION_TEXT}\" is not the project's version ${PROJECT_VERSION}")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvalin)
set(CPACK_PACKAGE_VERSION ${ORVALIN_VERSION_TEXT})
set(CPACK_PACKAGE_CONTACT "Orvalin maintainers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "audio to streaming Flash animation and web page converter")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Orvalin turns an MP3 or WAV file into a Flash animation that streams the
sound, a controller animation with play, stop and loop buttons, and an HTML
page that embeds them under your text, in your colours. It comes as a desktop
program, orvalin, and a command-line converter, orvalin-convert.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not linked, so not found by dpkg-shlibdeps: xdg-open shows the help and the
# pages in the browser.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_STRIP_FILES ON)
include(CPack)
