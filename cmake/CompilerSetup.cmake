# Warnings, ccache and sanitizers for every target of the project.

find_program(MARLEK_CCACHE ccache)
if(MARLEK_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  # Precompiled headers are only cacheable with this sloppiness; the base dir
  # lets a fresh clone in another folder reuse the cache.
  set(CMAKE_CXX_COMPILER_LAUNCHER
      ${CMAKE_COMMAND} -E env
      CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
      CCACHE_BASEDIR=${PROJECT_SOURCE_DIR}
      ${MARLEK_CCACHE})
endif()

add_compile_options(-Wall -Wextra -Wno-missing-field-initializers)

# The test builds keep function names and line tables, which backtraces and
# sanitizer reports need; full debug information of every Boost template
# they instantiate made the build folder many gigabytes. The programs carry
# it compressed: the long template names alone are most of each test
# program. A Debug build keeps all of it, uncompressed.
add_compile_options($<$<CONFIG:RelWithDebInfo>:-g1>)
add_link_options($<$<CONFIG:RelWithDebInfo>:LINKER:--compress-debug-sections=zlib>)

if(MARLEK_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
elseif(MARLEK_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT MARLEK_SANITIZE STREQUAL "")
  message(FATAL_ERROR "MARLEK_SANITIZE must be empty, address or thread")
endif()
