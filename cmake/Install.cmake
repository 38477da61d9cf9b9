# What `cmake --install` puts under the prefix: the library, its headers
# under include/ostrel (so that "ace/Contig.h" and "ostrel.h" resolve with
# -I PREFIX/include/ostrel), the commands, a CMake package (the target
# ostrel::ostrel) and ostrel.pc for pkg-config.
include(CMakePackageConfigHelpers)

set(OSTREL_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/ostrel)

install(TARGETS ostrel EXPORT ostrelTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
foreach(folder util seq ace contig search)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/${folder}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/ostrel/${folder}
          FILES_MATCHING PATTERN "*.h")
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/ostrel.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/ostrel)
install(FILES ${PROJECT_BINARY_DIR}/include/ostrel/Version.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/ostrel/ostrel)
install(TARGETS ostrel-extractbins ostrel-fastaindex ostrel-ace ostrel-overlap
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/man/ DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 FILES_MATCHING PATTERN "*.1")

install(EXPORT ostrelTargets NAMESPACE ostrel:: DESTINATION ${OSTREL_PACKAGE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/ostrelConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/ostrelConfig.cmake INSTALL_DESTINATION ${OSTREL_PACKAGE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/ostrelConfigVersion.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/ostrelConfig.cmake ${PROJECT_BINARY_DIR}/ostrelConfigVersion.cmake
        DESTINATION ${OSTREL_PACKAGE_DIR})

# The .pc file finds its prefix from where it lies, so that the prefix may
# be chosen at install time. A static library needs zlib and htslib on
# every link line, not only on those of `pkg-config --static`.
file(RELATIVE_PATH OSTREL_PC_TO_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
if(BUILD_SHARED_LIBS)
  set(OSTREL_PC_STATIC_LIBS "")
else()
  set(OSTREL_PC_STATIC_LIBS "-lhts -lz ")
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/ostrel.pc.in ${PROJECT_BINARY_DIR}/ostrel.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/ostrel.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
