# `make package`: a Debian package of everything `cmake --install` puts in place,
# with its library dependencies worked out by dpkg-shlibdeps.

# The report's manual page, compressed as Debian keeps them.
set(ZUB_MANPAGE_GZ ${CMAKE_BINARY_DIR}/share/man/man1/zub97-report.1.gz)
add_custom_command(
  OUTPUT ${ZUB_MANPAGE_GZ}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/share/man/man1
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/data/zub97-report.1
          ${CMAKE_BINARY_DIR}/share/man/man1/zub97-report.1
  COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/share/man/man1/zub97-report.1
  DEPENDS ${PROJECT_SOURCE_DIR}/data/zub97-report.1
  COMMENT "Compressing the manual page"
  VERBATIM)
add_custom_target(zub_manpage ALL DEPENDS ${ZUB_MANPAGE_GZ})
install(FILES ${ZUB_MANPAGE_GZ} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zub97)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "disk and memory monitor with pie charts")
# Debian wants the long description in lines of under 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Zub 97 shows at a glance how full the machine is: a pie of the free and used\n"
    "space of a drive and a pie of the free and used share of memory, with the\n"
    "figures as text. It opens an All Disks view, the running windows and a craps\n"
    "game. zub97-report prints the same figures as text records.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_CONTACT "Zub 97 developers <zub97@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its display plugins at run time, so no library names them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2")
include(CPack)
