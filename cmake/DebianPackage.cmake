# The Debian package vindle-setup, made by CPack from what the tree installs:
# scripts/package.sh builds it from the release tree and checks it with lintian.

set(VINDLE_PACKAGE_NAME vindle-setup)
set(VINDLE_PACKAGE_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/${VINDLE_PACKAGE_NAME})

# Debian keeps a package's changelog compressed and without a time stamp.
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in
               ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog @ONLY)
add_custom_command(
    OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz
    COMMAND gzip -9nkf ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog
    DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog
    VERBATIM)
add_custom_target(vindle_package_changelog ALL
                  DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz)
add_dependencies(vindle_package_contents vindle_package_changelog)

install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/packaging/copyright
              ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${VINDLE_PACKAGE_DOCDIR})

install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME ${VINDLE_PACKAGE_NAME})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${VINDLE_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Vindle Setup developers <vindle-setup@vindle.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "set-up utility for the Vindle Module")
set(CPACK_PACKAGE_DESCRIPTION
    "Reads, edits and stores the configuration of a Vindle Module, a serial-attached
input module, over RS-232: the main window and three secondary windows for its
options, its identity, factory defaults, live analog readings and a data
monitor. varnel_com9 and varnel_com4 open COM9 and COM4 (/dev/ttyS8 and
/dev/ttyS3); vindle-emulator serves an emulated module on a pseudo-terminal.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the programs link are found by dpkg-shlibdeps. Qt loads its
# platform plugins at run time, where dpkg-shlibdeps cannot see them, and the
# windows need one.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)

include(CPack)
