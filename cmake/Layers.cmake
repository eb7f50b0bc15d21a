# The source folders are layers: a folder may include its own headers and
# those of the layers it names as used, directly or through them, and
# nothing above. Every build checks the includes of every file in the
# folder and its subfolders, so a back-edge fails the build where it is
# written. Included from the folder that holds the layers, each of which
# must be declared, so a new folder fails the configure until it is placed.

set(ORVALIN_LAYER_CHECK ${CMAKE_CURRENT_LIST_DIR}/CheckLayer.cmake)
set(ORVALIN_LAYER_ROOT ${CMAKE_CURRENT_SOURCE_DIR})

# orvalin_layer(NAME TARGET target [USES lower-layers...] [QT])
# Checks the folder NAME for the target built from it, and links the
# target to the libraries of the layers it uses. QT lets the folder
# include Qt.
function(orvalin_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "QT" "TARGET" "USES")
  if(NOT CMAKE_CURRENT_SOURCE_DIR STREQUAL "${ORVALIN_LAYER_ROOT}/${name}")
    message(FATAL_ERROR "layer ${name} must be declared in its own folder, ${ORVALIN_LAYER_ROOT}/${name}")
  endif()
  set(reach ${name})
  foreach(used IN LISTS arg_USES)
    get_property(used_reach GLOBAL PROPERTY ORVALIN_LAYER_REACH_${used})
    if(NOT used_reach)
      message(FATAL_ERROR "layer ${name} uses ${used}, which is not a layer below it")
    endif()
    list(APPEND reach ${used_reach})
    target_link_libraries(${arg_TARGET} PUBLIC orvalin_${used})
  endforeach()
  list(REMOVE_DUPLICATES reach)
  set_property(GLOBAL PROPERTY ORVALIN_LAYER_REACH_${name} ${reach})

  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(FILTER sources EXCLUDE REGEX "/CMakeLists\\.txt$")
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/layer-${name}.checked)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} "-DLAYER=${name}" "-DREACH=${reach}" "-DQT=${arg_QT}"
            "-DROOT=${ORVALIN_LAYER_ROOT}" "-DSOURCES=${sources}" -P ${ORVALIN_LAYER_CHECK}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${sources} ${ORVALIN_LAYER_CHECK}
    COMMENT "Checking the includes of layer ${name}"
    VERBATIM)
  add_custom_target(orvalin_${name}_layer DEPENDS ${stamp})
  add_dependencies(${arg_TARGET} orvalin_${name}_layer)
endfunction()

# Every folder beside the layers' must be one of them, and nothing else
# may stand there but the file that adds them.
function(orvalin_check_every_folder_is_a_layer)
  file(GLOB entries CONFIGURE_DEPENDS LIST_DIRECTORIES true RELATIVE ${ORVALIN_LAYER_ROOT}
       ${ORVALIN_LAYER_ROOT}/*)
  list(REMOVE_ITEM entries CMakeLists.txt)
  foreach(entry IN LISTS entries)
    get_property(placed GLOBAL PROPERTY ORVALIN_LAYER_REACH_${entry} SET)
    if(NOT placed)
      message(FATAL_ERROR "${ORVALIN_LAYER_ROOT}/${entry} is not a layer: declare it with orvalin_layer "
                          "in its own CMakeLists.txt, with the layers it uses, and add it beside the others")
    endif()
  endforeach()
endfunction()
cmake_language(DEFER CALL orvalin_check_every_folder_is_a_layer)
