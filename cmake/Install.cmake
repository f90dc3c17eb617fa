# The C++ package: the core library, its public headers in their folders and
# a package configuration, so that another CMake project can write
#   find_package(marlek_link CONFIG REQUIRED)
#   target_link_libraries(app PRIVATE marlek::core)
# The same configuration describes this build folder, which is how the
# Python module's build links the core compiled here (MARLEK_CORE_FROM).
include(CMakePackageConfigHelpers)
include(GNUInstallDirs)

set(MARLEK_CONFIG_DESTINATION "${CMAKE_INSTALL_LIBDIR}/cmake/marlek_link")

install(TARGETS marlek_link_core marlek_boost EXPORT marlek_link-targets
  ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}"
  FILE_SET HEADERS DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}")
install(EXPORT marlek_link-targets NAMESPACE marlek:: DESTINATION "${MARLEK_CONFIG_DESTINATION}")
export(EXPORT marlek_link-targets NAMESPACE marlek:: FILE "${PROJECT_BINARY_DIR}/marlek_link-targets.cmake")

configure_file("${CMAKE_CURRENT_LIST_DIR}/marlek_link-config.cmake.in"
               "${PROJECT_BINARY_DIR}/marlek_link-config.cmake" @ONLY)
write_basic_package_version_file("${PROJECT_BINARY_DIR}/marlek_link-config-version.cmake"
  COMPATIBILITY SameMajorVersion)
install(FILES "${PROJECT_BINARY_DIR}/marlek_link-config.cmake"
              "${PROJECT_BINARY_DIR}/marlek_link-config-version.cmake"
        DESTINATION "${MARLEK_CONFIG_DESTINATION}")
