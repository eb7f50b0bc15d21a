# Builds a two-layer fixture with the project's layer rules, then writes
# one back-edge at a time into it and expects the build to refuse each
# with the layer check's own reason, not a compiler error.
# Run with -DCMAKE_DIR=<the project's cmake/> -DWORK=<scratch folder>
# -DGENERATOR=<the project's generator>.
cmake_minimum_required(VERSION 3.25)

set(src ${WORK}/fixture/src)
file(REMOVE_RECURSE ${WORK})
file(COPY ${CMAKE_CURRENT_LIST_DIR}/fixture DESTINATION ${WORK})
execute_process(COMMAND ${CMAKE_COMMAND} -S ${WORK}/fixture -B ${WORK}/build -G ${GENERATOR}
                        -DORVALIN_CMAKE_DIR=${CMAKE_DIR}
                RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(failed)
  message(FATAL_ERROR "the fixture does not configure:\n${log}")
endif()

function(build_fixture out_failed out_log)
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK}/build
                  RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
  set(${out_failed} ${failed} PARENT_SCOPE)
  set(${out_log} "${log}" PARENT_SCOPE)
endfunction()

function(expect_built what)
  build_fixture(failed log)
  if(failed)
    message(FATAL_ERROR "${what} was refused:\n${log}")
  endif()
endfunction()

function(expect_refused what reason)
  build_fixture(failed log)
  string(REGEX REPLACE "[ \n]+" " " log "${log}")
  if(NOT failed OR NOT log MATCHES "${reason}")
    message(FATAL_ERROR "${what} was not refused for '${reason}':\n${log}")
  endif()
endfunction()

file(READ ${src}/low/Low.h low_header)
function(refused_in_low include reason)
  file(WRITE ${src}/low/Low.h "${low_header}${include}\n")
  expect_refused("${include}" "${reason}")
endfunction()

expect_built("the clean fixture")
file(WRITE ${src}/high/High.h
     "#pragma once\n#include \"low/Low.h\"\n#include <low/Low.h>\n#include \"../low/Low.h\"\n"
     "# include \"High.h\"\n#include <vector>\n#include <QString>\n")
expect_built("every spelling of a downward include, and Qt in a Qt layer,")

set(back_edge "layer low may not include .*high/High.h: high/ is not among the layers it uses")
refused_in_low("#include \"high/High.h\"" "${back_edge}")
refused_in_low("#include <high/High.h>" "${back_edge}")
refused_in_low("  #  include \"high/High.h\"" "${back_edge}")
refused_in_low("#/* */include/* */<high/High.h>" "${back_edge}")
refused_in_low("#include_next <high/High.h>" "${back_edge}")
refused_in_low("#include \"../high/High.h\"" "${back_edge}")
refused_in_low("#include \\\n  \"high/High.h\"" "${back_edge}")
refused_in_low("#define HIGH \"high/High.h\"\n#include HIGH" "cannot tell what `#include HIGH` includes")
refused_in_low("#include <QString>" "QString is Qt, which layer low may not include")
refused_in_low("#include <QtCore/QString>" "QtCore/QString is Qt")

file(WRITE ${src}/low/Low.h "${low_header}")
file(WRITE ${src}/low/sub/Deep.h "#include \"high/High.h\"\n")
expect_refused("a subfolder's back-edge" "${back_edge}")
file(REMOVE_RECURSE ${src}/low/sub)
file(WRITE ${src}/stray/Stray.h "")
expect_refused("a folder that is not a layer" "stray is not a layer")
