# The source folders are layers: a folder may include its own headers and
# those of the layers it names as used, directly or through them, and
# nothing above. Every build checks the includes, so a back-edge fails the
# build where it is written.

set(ORVALIN_LAYER_CHECK ${CMAKE_CURRENT_LIST_DIR}/CheckLayer.cmake)

# orvalin_layer(NAME TARGET target USES lower-layers...)
# Checks the folder NAME of src/ for the target built from it, and links
# the target to the libraries of the layers it uses.
function(orvalin_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "TARGET" "USES")
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

  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/layer-${name}.checked)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} "-DLAYER=${name}" "-DREACH=${reach}" "-DSOURCES=${sources}"
            -P ${ORVALIN_LAYER_CHECK}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${sources} ${ORVALIN_LAYER_CHECK}
    COMMENT "Checking the includes of layer ${name}"
    VERBATIM)
  add_custom_target(orvalin_${name}_layer DEPENDS ${stamp})
  add_dependencies(${arg_TARGET} orvalin_${name}_layer)
endfunction()
