# Fails when a source of layer LAYER includes a header of a src/ folder
# outside REACH, or Qt below the desktop user interface. Run by the build;
# see Layers.cmake.
cmake_minimum_required(VERSION 3.25)
set(folders app audio cli common job platform settings swf ui web)
foreach(source IN LISTS SOURCES)
  file(STRINGS ${source} includes REGEX "^#include [\"<]")
  foreach(line IN LISTS includes)
    if(line MATCHES "^#include \"([a-z]+)/" AND CMAKE_MATCH_1 IN_LIST folders
       AND NOT CMAKE_MATCH_1 IN_LIST REACH)
      message(FATAL_ERROR "${source}: ${LAYER} may not include ${CMAKE_MATCH_1}/ (it uses only ${REACH})")
    endif()
    if(line MATCHES "^#include <Q" AND NOT LAYER MATCHES "^(ui|app)$")
      message(FATAL_ERROR "${source}: Qt belongs in ui/ and app/ only")
    endif()
  endforeach()
endforeach()
