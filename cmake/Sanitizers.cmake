# Sanitized builds. Every finding stops the program (no recovery), so that a
# test or a fuzz run cannot pass over one.
set(ORVALIN_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
    -fno-omit-frame-pointer)

if(ORVALIN_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "ORVALIN_FUZZ needs clang: configure with CC=clang CXX=clang++")
  endif()
  # Everything is instrumented for coverage; only the fuzz targets link the
  # fuzzer's own main.
  list(APPEND ORVALIN_SANITIZER_FLAGS -fsanitize=fuzzer-no-link)
endif()

if(ORVALIN_SANITIZE OR ORVALIN_FUZZ)
  add_compile_options(${ORVALIN_SANITIZER_FLAGS})
  add_link_options(-fsanitize=address,undefined)
endif()

# Clang links the sanitizer runtime into programs only, so a sanitized module
# leaves its symbols to the program that loads it.
if((ORVALIN_SANITIZE OR ORVALIN_FUZZ) AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  set(ORVALIN_MODULES_ALLOW_UNDEFINED ON)
else()
  set(ORVALIN_MODULES_ALLOW_UNDEFINED OFF)
endif()

# libFuzzer keeps reading the coverage counters of every instrumented library
# it has seen, and the stages unload their modules after each run: modules
# stay sanitized but without coverage.
function(orvalin_module_sanitizers target)
  if(ORVALIN_FUZZ)
    target_compile_options(${target} PRIVATE -fno-sanitize=fuzzer-no-link)
  endif()
endfunction()
