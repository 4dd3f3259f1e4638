# SPDX-License-Identifier: GPL-3.0-or-later
# Installing Lorvane like a desktop program, and its Debian package.
#
# <prefix>/bin                  lorvane (and lorvane-calc)
# <prefix>/share/lorvane        the default Vantor.mdb, xls/, back/, library/
# <prefix>/share/applications   lorvane.desktop
# <prefix>/share/icons/hicolor  the program's icon, SVG and 48/128/256 px
# <prefix>/share/metainfo       lorvane.metainfo.xml
#
# An installed program finds share/lorvane beside its bin folder and keeps each
# user's database in $XDG_DATA_HOME/Lorvane (src/core/base/ProgramFolders).

include(GNUInstallDirs)
set(LORVANE_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/lorvane)
set(LORVANE_DIST_DIR ${CMAKE_BINARY_DIR}/dist)

# The database the package ships is built afresh from data/, never the one in
# bin/ that `make run` may have changed.
file(GLOB lorvane_calibrations CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/calibrations/*)
add_custom_command(OUTPUT ${LORVANE_DIST_DIR}/Vantor.mdb
  COMMAND ${CMAKE_COMMAND} -E rm -f ${LORVANE_DIST_DIR}/Vantor.mdb
  COMMAND ${CMAKE_COMMAND} -E make_directory ${LORVANE_DIST_DIR}
  COMMAND make_database ${CMAKE_SOURCE_DIR}/data/schema.sql ${CMAKE_SOURCE_DIR}/data/calibrations
          ${LORVANE_DIST_DIR}/Vantor.mdb
  DEPENDS make_database ${CMAKE_SOURCE_DIR}/data/schema.sql ${lorvane_calibrations}
  COMMENT "Default calibration database for installing"
  VERBATIM)

# The icon, drawn by the program's own picture code (tools/make_icons).
set(lorvane_icons ${LORVANE_DIST_DIR}/icons/lorvane.svg ${LORVANE_DIST_DIR}/icons/lorvane-48.png
    ${LORVANE_DIST_DIR}/icons/lorvane-128.png ${LORVANE_DIST_DIR}/icons/lorvane-256.png)
add_custom_command(OUTPUT ${lorvane_icons}
  COMMAND make_icons ${LORVANE_DIST_DIR}/icons
  DEPENDS make_icons
  COMMENT "Program icon"
  VERBATIM)

configure_file(${CMAKE_SOURCE_DIR}/packaging/lorvane.metainfo.xml.in ${LORVANE_DIST_DIR}/lorvane.metainfo.xml @ONLY)
add_custom_target(install_files ALL DEPENDS ${LORVANE_DIST_DIR}/Vantor.mdb ${lorvane_icons})

# The programs, looked up once the whole tree has defined its targets.
function(lorvane_install_programs)
  foreach(program lorvane lorvane-calc)
    if(TARGET ${program})
      install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
  endforeach()
endfunction()
cmake_language(DEFER CALL lorvane_install_programs)
install(FILES ${LORVANE_DIST_DIR}/Vantor.mdb DESTINATION ${LORVANE_SHARE_DIR})
install(DIRECTORY ${LORVANE_BIN_DIR}/xls/ DESTINATION ${LORVANE_SHARE_DIR}/xls FILES_MATCHING PATTERN "*.xltx")
install(DIRECTORY ${LORVANE_BIN_DIR}/back/ DESTINATION ${LORVANE_SHARE_DIR}/back)
# The library's import files, once the default library writes them.
install(DIRECTORY ${LORVANE_BIN_DIR}/library/ DESTINATION ${LORVANE_SHARE_DIR}/library OPTIONAL)

install(FILES ${CMAKE_SOURCE_DIR}/packaging/lorvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${LORVANE_DIST_DIR}/lorvane.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${LORVANE_DIST_DIR}/icons/lorvane.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(px 48 128 256)
  install(FILES ${LORVANE_DIST_DIR}/icons/lorvane-${px}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${px}x${px}/apps RENAME lorvane.png)
endforeach()

# The manual pages, compressed as Debian wants them, and the copyright file.
set(lorvane_man_pages)
foreach(page lorvane.1 lorvane-calc.1)
  add_custom_command(
    OUTPUT ${LORVANE_DIST_DIR}/man/${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${LORVANE_DIST_DIR}/man
    COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/packaging/man/${page} > ${LORVANE_DIST_DIR}/man/${page}.gz
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/man/${page}
    COMMENT "Manual page ${page}")
  list(APPEND lorvane_man_pages ${LORVANE_DIST_DIR}/man/${page}.gz)
endforeach()
# A native package's changelog, compressed like the manual pages.
add_custom_command(
  OUTPUT ${LORVANE_DIST_DIR}/changelog.gz
  COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/packaging/changelog > ${LORVANE_DIST_DIR}/changelog.gz
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog
  COMMENT "Debian changelog")
add_custom_target(man_pages ALL DEPENDS ${lorvane_man_pages} ${LORVANE_DIST_DIR}/changelog.gz)
install(FILES ${lorvane_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${LORVANE_DIST_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lorvane)

# `make package`: build/lorvane_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lorvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Lorvane team")
# Who answers for the package; a packager sets their own address.
set(LORVANE_MAINTAINER "The Lorvane team <team@lorvane.invalid>" CACHE STRING "Maintainer of the Debian package")
set(CPACK_PACKAGE_CONTACT "${LORVANE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "mineral-pair geothermometry workbench")
set(CPACK_PACKAGE_DESCRIPTION
    "Lorvane turns measured compositions into equilibrium temperatures with a
database of published calibrations: isotope fractionation and trace-element
partition between mineral pairs, and the olivine-melt thermometer. The
interface is in Chinese and English.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${LORVANE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the linked libraries: Qt's platform plugins to open a window at all,
# a font that draws the Chinese interface, and Qt's Chinese button captions.
# WenQuanYi draws the Chinese; DejaVu Sans the ℃ and other symbols WenQuanYi leaves empty.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-wqy-microhei | fonts-noto-cjk, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)
