# Installation (cmake --install build [--prefix P]) and the Debian package (cpack -G DEB in
# the build folder). The program finds its archive at <bindir>/<path from bindir to
# datadir>/koravex/adatok.vbf, so a moved prefix or an unpacked package still works.
include(GNUInstallDirs)

# The name the desktop knows the game by: the desktop entry, the icon and the metainfo.
set(KX_APP_ID org.koravex.Koravex)

# The program goes to bin/, and to games/ in the Debian package, where Debian puts games. The
# program is built once, so the way from either folder to the data folder must be the same;
# under a layout where it is not, the package keeps the program where cmake --install puts it.
set(KX_PACKAGE_BINDIR games)
file(RELATIVE_PATH KX_DATA_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR})
file(RELATIVE_PATH kx_data_from_games ${CMAKE_INSTALL_PREFIX}/${KX_PACKAGE_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR})
if(NOT kx_data_from_games STREQUAL KX_DATA_FROM_BIN)
  message(STATUS "The package keeps the program in ${CMAKE_INSTALL_BINDIR}/: from "
          "${KX_PACKAGE_BINDIR}/ it would not find its archive")
  set(KX_PACKAGE_BINDIR ${CMAKE_INSTALL_BINDIR})
endif()
target_compile_definitions(kx_archive PRIVATE KX_DATA_FROM_BIN="${KX_DATA_FROM_BIN}")

# Components: `program` (bin/koravex) and `game` (everything else) for cmake --install;
# `debian` (games/koravex, the copyright file and the changelog) only for the package.
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME game)
install(TARGETS koravex RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)
install(TARGETS koravex RUNTIME DESTINATION ${KX_PACKAGE_BINDIR} COMPONENT debian
        EXCLUDE_FROM_ALL)
install(FILES ${KX_ARCHIVE_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/koravex)

install(FILES ${CMAKE_SOURCE_DIR}/data/${KX_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/${KX_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size ${KX_ICON_SIZES})
  install(FILES ${KX_ASSET_DIR}/icon-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${KX_APP_ID}.png)
endforeach()

# The manual page carries the version; it is installed compressed, as man pages are in
# Debian (-n leaves the name and time out, so the bytes are the same on every build).
configure_file(${CMAKE_SOURCE_DIR}/data/koravex.6.in ${CMAKE_BINARY_DIR}/koravex.6 @ONLY)
find_program(KX_GZIP gzip REQUIRED)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/koravex.6.gz
  COMMAND ${KX_GZIP} -9 -n -k -f ${CMAKE_BINARY_DIR}/koravex.6
  DEPENDS ${CMAKE_BINARY_DIR}/koravex.6
  COMMENT "Compressing the manual page")
add_custom_target(koravex_manual ALL DEPENDS ${CMAKE_BINARY_DIR}/koravex.6.gz)
install(FILES ${CMAKE_BINARY_DIR}/koravex.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# The package's documents, where Debian looks for them: the licences in the machine-readable
# copyright format, and the changelog, compressed the way lintian asks (-9, no name or time).
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
  COMMAND ${KX_GZIP} -9 -n -c ${CMAKE_SOURCE_DIR}/data/debian/changelog > ${CMAKE_BINARY_DIR}/changelog.gz
  DEPENDS ${CMAKE_SOURCE_DIR}/data/debian/changelog
  COMMENT "Compressing the changelog")
add_custom_target(koravex_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_SOURCE_DIR}/data/debian/copyright ${CMAKE_BINARY_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/koravex COMPONENT debian EXCLUDE_FROM_ALL)

# The Debian package: section games, its Depends computed from the program's libraries by
# dpkg-shlibdeps (from dpkg-dev, which also needs `file`).
set(KORAVEX_PACKAGE_MAINTAINER "Koravex developers <dev@koravex.org>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_PACKAGE_NAME koravex)
set(CPACK_PACKAGE_VENDOR "Koravex developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "3D board game: four pieces on the corners of a square win")
# The control file takes the lines as they stand here.
set(CPACK_PACKAGE_DESCRIPTION
    "Koravex is a board game for one or two players on a 6 x 6 board, drawn in 3D
with OpenGL. The players take turns placing one piece each on an empty cell;
pieces never move. Whoever first holds the four corners of any square whose
corners are board cells, upright or tilted, of any size, wins.

Each seat is played by a person with the mouse or by the computer, whose
strength is set with a slider.")
set(CPACK_PACKAGE_CONTACT ${KORAVEX_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_NAME koravex)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${KORAVEX_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# SDL opens libGL at run time for GLX, where dpkg-shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS libgl1)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://koravex.org/)
# One package of everything but bin/koravex: games/koravex and the documents take its place.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL game debian)
include(CPack)
