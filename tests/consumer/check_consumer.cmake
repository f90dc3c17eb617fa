# Run by CTest after the build: installs the build folder's library into a
# prefix, builds this consumer against the installed package and runs it;
# then configures the consumer with add_subdirectory of the sources, without
# Python (configured only, so that the core is not compiled once more).
#   cmake -DMARLEK_SOURCE=<sources> -DMARLEK_BUILD=<build folder>
#         -DWORK=<scratch folder> -DGENERATOR=<generator> -DCOMPILER=<c++> -P check_consumer.cmake

function(run)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    string(REPLACE ";" " " command "${ARGV}")
    message(FATAL_ERROR "failed (${result}): ${command}")
  endif()
endfunction()

set(consumer "${MARLEK_SOURCE}/tests/consumer")
file(REMOVE_RECURSE "${WORK}")

run("${CMAKE_COMMAND}" --install "${MARLEK_BUILD}" --prefix "${WORK}/prefix")
run("${CMAKE_COMMAND}" -S "${consumer}" -B "${WORK}/installed" -G "${GENERATOR}"
    "-DCMAKE_CXX_COMPILER=${COMPILER}" "-DCMAKE_PREFIX_PATH=${WORK}/prefix")
run("${CMAKE_COMMAND}" --build "${WORK}/installed")
execute_process(COMMAND "${WORK}/installed/consumer" RESULT_VARIABLE result OUTPUT_VARIABLE output)
message(STATUS "${output}")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the consumer failed (${result})")
endif()

run("${CMAKE_COMMAND}" -S "${consumer}" -B "${WORK}/subdirectory" -G "${GENERATOR}"
    "-DCMAKE_CXX_COMPILER=${COMPILER}" "-DMARLEK_SOURCE_DIR=${MARLEK_SOURCE}"
    -DCMAKE_DISABLE_FIND_PACKAGE_Python=ON -DCMAKE_DISABLE_FIND_PACKAGE_pybind11=ON
    -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON)
