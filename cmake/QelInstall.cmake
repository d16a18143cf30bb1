# Installing the library: headers in their folders under include/qel (so both
# #include <qel/meter/QEL_Meter.h> and, with include/qel on the path, "meter/QEL_Meter.h" work),
# the static libraries, the resources, a CMake package (find_package(qel CONFIG) gives qel::qel
# and qel::sdl with their dependencies found transitively), a pkg-config file and a Debian
# package through CPack.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(QEL_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/qel)
set(QEL_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/qel)

foreach(dir platform frame numio displays replist ntabed minical selectors meter indicators)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${dir})
    install(DIRECTORY ${dir} DESTINATION ${QEL_INSTALL_INCLUDEDIR} COMPONENT dev
            FILES_MATCHING PATTERN "*.h")
  endif()
endforeach()
install(DIRECTORY resources/ DESTINATION ${CMAKE_INSTALL_DATADIR}/qel/resources COMPONENT dev
        FILES_MATCHING PATTERN "*.png" PATTERN "*.bmp")

# The libraries a host links, lowest last; their include directory is the installed header
# tree (inside the build it is the source root).
set(QEL_EXPORTED qel qel_frame qel_widgets qel_controls qel_graphics qel_rtl qel_resources
                 qel_platform)
foreach(t ${QEL_EXPORTED})
  get_target_property(type ${t} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${t} INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>
                                              $<INSTALL_INTERFACE:${QEL_INSTALL_INCLUDEDIR}>)
  else()
    target_include_directories(${t} PUBLIC $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>
                                           $<INSTALL_INTERFACE:${QEL_INSTALL_INCLUDEDIR}>)
  endif()
endforeach()
set(QEL_INSTALL_TARGETS ${QEL_EXPORTED})
if(TARGET qel_sdl)
  set_target_properties(qel_sdl PROPERTIES EXPORT_NAME sdl)
  list(APPEND QEL_INSTALL_TARGETS qel_sdl)
endif()
install(TARGETS ${QEL_INSTALL_TARGETS} EXPORT qelTargets COMPONENT dev
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${QEL_INSTALL_INCLUDEDIR})
install(EXPORT qelTargets NAMESPACE qel:: DESTINATION ${QEL_INSTALL_CMAKEDIR} COMPONENT dev)

set(QEL_CONFIG_HAVE_SDL 0)
if(TARGET qel_sdl)
  set(QEL_CONFIG_HAVE_SDL 1)
endif()
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/qelConfig.cmake.in
                              ${CMAKE_BINARY_DIR}/qelConfig.cmake
                              INSTALL_DESTINATION ${QEL_INSTALL_CMAKEDIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/qelConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/qelConfig.cmake ${CMAKE_BINARY_DIR}/qelConfigVersion.cmake
        DESTINATION ${QEL_INSTALL_CMAKEDIR} COMPONENT dev)

# pkg-config: static libraries, so the dependencies are public.
set(QEL_PC_REQUIRES "freetype2 fontconfig libpng pugixml re2")
configure_file(${CMAKE_SOURCE_DIR}/cmake/qel.pc.in ${CMAKE_BINARY_DIR}/qel.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/qel.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
        COMPONENT dev)

set(CPACK_PACKAGE_NAME "libqel-dev")
set(CPACK_PACKAGE_VENDOR "QEL components")
set(CPACK_PACKAGE_CONTACT "QEL components <qel@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "C++20 visual components for measurement, engineering and data-handling applications")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libfreetype-dev, libfontconfig-dev, libpng-dev, libpugixml-dev, libre2-dev, libsdl2-dev, fonts-liberation2")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
include(CPack)
