# Fails when a file of layer LAYER includes a header of a folder of ROOT
# outside REACH, includes Qt without being a QT layer, or includes what
# cannot be read without the preprocessor. Run by the build; see
# Layers.cmake.
#
# An include is resolved as the compiler would: a quoted name first from
# the including file's folder, then, as an angle-bracket name, from ROOT,
# which is on every target's include path.
cmake_minimum_required(VERSION 3.25)

# A block comment's end stands as one byte no source holds, so that a
# comment can be matched without a pattern the regex engine would nest.
string(ASCII 1 comment_end)
set(comment "/\\*[^${comment_end}]*${comment_end}")
set(gap "([ \t]|${comment})*")
set(directive "\n${gap}(#|%:)${gap}(include_next|include|import)[^\n]*")

function(layer_of_include source quoted name out)
  set(${out} "" PARENT_SCOPE)
  set(candidates ${ROOT}/${name})
  if(quoted)
    cmake_path(GET source PARENT_PATH here)
    list(PREPEND candidates ${here}/${name})
  endif()
  foreach(candidate IN LISTS candidates)
    cmake_path(NORMAL_PATH candidate)
    if(EXISTS ${candidate} AND NOT IS_DIRECTORY ${candidate})
      cmake_path(IS_PREFIX ROOT ${candidate} NORMALIZE inside)
      if(inside)
        cmake_path(RELATIVE_PATH candidate BASE_DIRECTORY ${ROOT})
        string(REGEX MATCH "^[^/]+" folder "${candidate}")
        set(${out} ${folder} PARENT_SCOPE)
      endif()
      return()
    endif()
  endforeach()
endfunction()

string(REPLACE ";" ", " uses "${REACH}")
foreach(source IN LISTS SOURCES)
  file(READ ${source} text)
  # Joined lines, and no characters that would split or nest CMake lists.
  string(REPLACE "\\\r\n" "" text "${text}")
  string(REPLACE "\\\n" "" text "${text}")
  string(REPLACE "*/" "${comment_end}" text "${text}")
  string(REGEX REPLACE "[][;]" " " text "${text}")
  string(REGEX MATCHALL "${directive}" lines "\n${text}")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "${comment}" " " line "${line}")
    string(STRIP "${line}" line)
    if(NOT line MATCHES "^(#|%:)[ \t]*(include_next|include|import)[ \t]*(\"([^\"]+)\"|<([^>]+)>)")
      message(SEND_ERROR "${source}: cannot tell what `${line}` includes; name the header in quotes or angle brackets")
      continue()
    endif()
    set(name "${CMAKE_MATCH_4}${CMAKE_MATCH_5}")
    if(CMAKE_MATCH_3 MATCHES "^\"")
      layer_of_include(${source} TRUE "${name}" folder)
    else()
      layer_of_include(${source} FALSE "${name}" folder)
    endif()
    if(folder STREQUAL "")
      if(name MATCHES "^(qt[0-9]*/)?Q" AND NOT QT)
        message(SEND_ERROR "${source}: ${name} is Qt, which layer ${LAYER} may not include")
      endif()
    elseif(NOT folder IN_LIST REACH)
      message(SEND_ERROR "${source}: layer ${LAYER} may not include ${name}: ${folder}/ is not among the layers it uses (${uses})")
    endif()
  endforeach()
endforeach()
