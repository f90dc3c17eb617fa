# Every dependency in one place. Boost comes as headers from the pinned
# cmeel-boost wheel, pybind11 from its wheel (both build requirements of the
# Python package, and in the venv of scripts/setup.sh); the rest from the
# system's packages.

set(MARLEK_VENV "${PROJECT_SOURCE_DIR}/.venv" CACHE PATH "Virtual environment made by scripts/setup.sh")

find_package(Threads REQUIRED)
find_package(OpenSSL 3.0 REQUIRED)
find_package(fmt 9 REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(TINYXML2 REQUIRED IMPORTED_TARGET tinyxml2>=9)

# The tests build a helper module of their own, and check the toolchain the
# module is built with.
if(MARLEK_BUILD_PYTHON OR MARLEK_BUILD_TESTS)
  # scikit-build-core names the interpreter it builds for; every other build
  # uses the venv's.
  if(NOT SKBUILD AND NOT Python_EXECUTABLE)
    if(NOT EXISTS "${MARLEK_VENV}/bin/python")
      message(FATAL_ERROR
        "The Python module and the tests are built with the interpreter of ${MARLEK_VENV}, which does "
        "not exist yet. Either run scripts/setup.sh (or scripts/build.sh, which runs it) to make it, or "
        "configure the C++ library alone:\n"
        "  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DMARLEK_BUILD_PYTHON=OFF -DMARLEK_BUILD_TESTS=OFF "
        "-DMARLEK_BOOST_INCLUDE_DIR=DIR\n"
        "where DIR holds the Boost headers (README.md, \"Building only the C++ library\").")
    endif()
    set(Python_EXECUTABLE "${MARLEK_VENV}/bin/python")
  endif()
  find_package(Python 3.13...<3.14 REQUIRED COMPONENTS Interpreter Development.Module)
  execute_process(COMMAND "${Python_EXECUTABLE}" -m pybind11 --cmakedir
                  OUTPUT_VARIABLE _marlek_pybind11_dir OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE _marlek_pybind11_result)
  if(NOT _marlek_pybind11_result EQUAL 0)
    message(FATAL_ERROR "pybind11 is missing for ${Python_EXECUTABLE}; run scripts/setup.sh")
  endif()
  find_package(pybind11 3.0 REQUIRED CONFIG PATHS "${_marlek_pybind11_dir}" NO_DEFAULT_PATH)
  if(pybind11_VERSION VERSION_GREATER_EQUAL 3.1)
    message(FATAL_ERROR "pybind11 3.0.x is needed, found ${pybind11_VERSION}")
  endif()
  message(STATUS "Python ${Python_VERSION} (${Python_INCLUDE_DIRS}), pybind11 ${pybind11_VERSION}")
endif()

# Boost: headers only. Where the cmeel-boost wheel is installed for the
# interpreter of the build (pip's build environment included), else in the
# project's venv, else on the system; MARLEK_BOOST_INCLUDE_DIR overrides.
set(_marlek_boost_candidates "")
if(Python_EXECUTABLE)
  execute_process(
    COMMAND "${Python_EXECUTABLE}" -c
      "import os, sys; print(';'.join(os.path.join(p, 'cmeel.prefix', 'include') for p in sys.path if os.path.isdir(os.path.join(p, 'cmeel.prefix', 'include'))))"
    OUTPUT_VARIABLE _marlek_boost_candidates OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
# A folder found before may be gone (pip's build environments are temporary).
if(MARLEK_BOOST_INCLUDE_DIR AND NOT EXISTS "${MARLEK_BOOST_INCLUDE_DIR}/boost/version.hpp")
  unset(MARLEK_BOOST_INCLUDE_DIR CACHE)
endif()
file(GLOB _marlek_venv_boost "${MARLEK_VENV}/lib/python3*/site-packages/cmeel.prefix/include")
list(APPEND _marlek_boost_candidates ${_marlek_venv_boost})
find_path(MARLEK_BOOST_INCLUDE_DIR boost/version.hpp HINTS ${_marlek_boost_candidates}
          DOC "Folder holding the Boost headers (boost/version.hpp)")
if(NOT MARLEK_BOOST_INCLUDE_DIR)
  message(FATAL_ERROR "Boost headers not found: run scripts/setup.sh, or set MARLEK_BOOST_INCLUDE_DIR to a "
                      "folder holding boost/version.hpp, for example that of the cmeel-boost wheel that "
                      "pyproject.toml pins (after pip install cmeel-boost==<pin>: $(python -m cmeel cmake)/include)")
endif()
file(STRINGS "${MARLEK_BOOST_INCLUDE_DIR}/boost/version.hpp" _marlek_boost_line
     REGEX "^#define BOOST_VERSION [0-9]+")
string(REGEX REPLACE "^#define BOOST_VERSION ([0-9]+).*" "\\1" _marlek_boost_version "${_marlek_boost_line}")
if(_marlek_boost_version LESS 108500)
  message(FATAL_ERROR "Boost 1.85 or newer is needed, found ${_marlek_boost_version}")
endif()
message(STATUS "Boost headers: ${MARLEK_BOOST_INCLUDE_DIR} (${_marlek_boost_version})")

add_library(marlek_boost INTERFACE)
set_target_properties(marlek_boost PROPERTIES EXPORT_NAME boost)
# The installed package configuration finds the headers again on the
# consumer's machine.
target_include_directories(marlek_boost SYSTEM INTERFACE "$<BUILD_INTERFACE:${MARLEK_BOOST_INCLUDE_DIR}>")
# Asio and Beast are compiled once in the core (boost_asio_beast_src.cpp)
# rather than in every file that uses them.
target_compile_definitions(marlek_boost INTERFACE BOOST_ALL_NO_LIB
  BOOST_ASIO_SEPARATE_COMPILATION BOOST_BEAST_SEPARATE_COMPILATION)
target_link_libraries(marlek_boost INTERFACE Threads::Threads)

if(MARLEK_BUILD_TESTS)
  find_package(GTest 1.12 REQUIRED)
  # What the Python module will be built with, for the toolchain test.
  file(WRITE "${CMAKE_BINARY_DIR}/python-toolchain.json"
    "{\"python_executable\": \"${Python_EXECUTABLE}\", \"python_version\": \"${Python_VERSION}\", "
    "\"python_include_dirs\": \"${Python_INCLUDE_DIRS}\", \"pybind11_version\": \"${pybind11_VERSION}\", "
    "\"boost_include_dir\": \"${MARLEK_BOOST_INCLUDE_DIR}\"}\n")
endif()
