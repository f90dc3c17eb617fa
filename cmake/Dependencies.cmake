# Every dependency in one place. Boost, pybind11 and Python come from the
# project's venv (scripts/setup.sh), the rest from Debian's packages.

set(MARLEK_VENV "${CMAKE_SOURCE_DIR}/.venv" CACHE PATH "Virtual environment made by scripts/setup.sh")

find_package(Threads REQUIRED)
find_package(OpenSSL 3.0 REQUIRED)
find_package(fmt 9 REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(TINYXML2 REQUIRED IMPORTED_TARGET tinyxml2>=9)

# Boost: headers only, from the pinned cmeel-boost wheel.
file(GLOB _marlek_boost_candidates
     "${MARLEK_VENV}/lib/python3*/site-packages/cmeel.prefix/include")
find_path(MARLEK_BOOST_INCLUDE_DIR boost/version.hpp
          HINTS ${_marlek_boost_candidates} NO_DEFAULT_PATH)
if(NOT MARLEK_BOOST_INCLUDE_DIR)
  message(FATAL_ERROR "Boost headers not found in ${MARLEK_VENV}; run scripts/setup.sh")
endif()
file(STRINGS "${MARLEK_BOOST_INCLUDE_DIR}/boost/version.hpp" _marlek_boost_line
     REGEX "^#define BOOST_VERSION [0-9]+")
string(REGEX REPLACE "^#define BOOST_VERSION ([0-9]+).*" "\\1" _marlek_boost_version "${_marlek_boost_line}")
if(_marlek_boost_version LESS 108500)
  message(FATAL_ERROR "Boost 1.85 or newer is needed, found ${_marlek_boost_version}")
endif()
message(STATUS "Boost headers: ${MARLEK_BOOST_INCLUDE_DIR} (${_marlek_boost_version})")

add_library(marlek_boost INTERFACE)
target_include_directories(marlek_boost SYSTEM INTERFACE "${MARLEK_BOOST_INCLUDE_DIR}")
# Asio and Beast are compiled once in the core (boost_asio_beast_src.cpp)
# rather than in every file that uses them.
target_compile_definitions(marlek_boost INTERFACE BOOST_ALL_NO_LIB
  BOOST_ASIO_SEPARATE_COMPILATION BOOST_BEAST_SEPARATE_COMPILATION)
target_link_libraries(marlek_boost INTERFACE Threads::Threads)

# Python 3.13 and pybind11 3.0 for the Python module. scikit-build-core names
# the interpreter it builds for; every other build uses the venv's.
if(NOT SKBUILD)
  set(Python_EXECUTABLE "${MARLEK_VENV}/bin/python")
endif()
find_package(Python 3.13...<3.14 REQUIRED COMPONENTS Interpreter Development.Module)
execute_process(COMMAND "${Python_EXECUTABLE}" -m pybind11 --cmakedir
                OUTPUT_VARIABLE _marlek_pybind11_dir OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE _marlek_pybind11_result)
if(NOT _marlek_pybind11_result EQUAL 0)
  message(FATAL_ERROR "pybind11 is missing from ${MARLEK_VENV}; run scripts/setup.sh")
endif()
find_package(pybind11 3.0 REQUIRED CONFIG PATHS "${_marlek_pybind11_dir}" NO_DEFAULT_PATH)
if(pybind11_VERSION VERSION_GREATER_EQUAL 3.1)
  message(FATAL_ERROR "pybind11 3.0.x is needed, found ${pybind11_VERSION}")
endif()
message(STATUS "Python ${Python_VERSION} (${Python_INCLUDE_DIRS}), pybind11 ${pybind11_VERSION}")

if(MARLEK_BUILD_TESTS)
  find_package(GTest 1.12 REQUIRED)
endif()

# What the Python module will be built with, for the toolchain test.
file(WRITE "${CMAKE_BINARY_DIR}/python-toolchain.json"
  "{\"python_executable\": \"${Python_EXECUTABLE}\", \"python_version\": \"${Python_VERSION}\", "
  "\"python_include_dirs\": \"${Python_INCLUDE_DIRS}\", \"pybind11_version\": \"${pybind11_VERSION}\", "
  "\"boost_include_dir\": \"${MARLEK_BOOST_INCLUDE_DIR}\"}\n")
