# Installs the public headers, a CMake package (find_package(oauthclient)) and a pkg-config file; on Windows the
# headers and a README for hosts.
include(CMakePackageConfigHelpers)

install(DIRECTORY ${CMAKE_SOURCE_DIR}/include/oauthclient DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
if(WIN32)
  # The Windows package is a folder to zip: bin\ (the three DLLs beside oauth-client.exe), include\, lib\ (the
  # MinGW import libraries) and a README for hosts. Hosts load the DLLs at run time, so no CMake or pkg-config
  # files.
  #   cmake --install build-windows --prefix dist/windows-x64
  install(FILES ${CMAKE_SOURCE_DIR}/cmake/windows-package-readme.md DESTINATION . RENAME README.md)
  return()
endif()
install(EXPORT oauthclientTargets NAMESPACE oauthclient:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/oauthclient)
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/oauthclientConfig.cmake.in
    ${CMAKE_BINARY_DIR}/oauthclientConfig.cmake INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/oauthclient)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/oauthclientConfigVersion.cmake
    VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/oauthclientConfig.cmake ${CMAKE_BINARY_DIR}/oauthclientConfigVersion.cmake
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/oauthclient)
configure_file(${CMAKE_SOURCE_DIR}/cmake/oauthclient.pc.in ${CMAKE_BINARY_DIR}/oauthclient.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/oauthclient.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
