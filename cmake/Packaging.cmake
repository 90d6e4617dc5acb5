# SPDX-License-Identifier: MIT
# Installation and the Debian package.
#
# The executable and its two pictures share one private folder, because the game reads the
# pictures from beside its executable; a relative symbolic link puts the command on the PATH
# (the window title comes from the executable's own name, which stays xmas-tictactoe). The
# icons, the desktop entry, the AppStream metadata and the manual page go where desktops and
# man look for them. The launcher's folder is chosen when installing (see CMakeLists.txt).

option(XMAS_INSTALL_STRIP "Strip the installed executable" ON)
# XMAS_APP_ID, the desktop entry's id, is set in CMakeLists.txt: the window uses it too.
set(XMAS_HOMEPAGE "https://xmastictactoe.github.io/" CACHE STRING
    "Project home page, ending in '/'; the screenshots are docs/*.png below it")
set(XMAS_MAINTAINER "xmas-tictactoe maintainers <maintainers@users.noreply.c-seed-5da246e3.example>"
    CACHE STRING "Maintainer named in the Debian package")
set(XMAS_RELEASE_DATE "2026-12-08")  # the date of release ${PROJECT_VERSION}

set(XMAS_PACKAGING_DIR "${PROJECT_SOURCE_DIR}/packaging")
set(XMAS_GENERATED_DIR "${PROJECT_BINARY_DIR}/packaging")
set(XMAS_DOC_DIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/xmas-tictactoe")
set(XMAS_MAN_DIR "${CMAKE_INSTALL_MANDIR}/man6")
set(XMAS_PRIVATE_DIR_FULL "${CMAKE_INSTALL_FULL_LIBEXECDIR}/xmas-tictactoe")

# The changelog's newest entry must be this version.
file(STRINGS "${XMAS_PACKAGING_DIR}/changelog" XMAS_CHANGELOG_HEAD LIMIT_COUNT 1)
if(NOT XMAS_CHANGELOG_HEAD MATCHES "^xmas-tictactoe \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog does not start with version ${PROJECT_VERSION}")
endif()

configure_file("${XMAS_PACKAGING_DIR}/xmas-tictactoe.desktop.in"
               "${XMAS_GENERATED_DIR}/${XMAS_APP_ID}.desktop" @ONLY)
configure_file("${XMAS_PACKAGING_DIR}/xmas-tictactoe.metainfo.xml.in"
               "${XMAS_GENERATED_DIR}/${XMAS_APP_ID}.metainfo.xml" @ONLY)
configure_file("${XMAS_PACKAGING_DIR}/xmas-tictactoe.6.in"
               "${XMAS_GENERATED_DIR}/xmas-tictactoe.6" @ONLY)

# Manual and changelog compressed as Debian wants them (gzip -9n: no name, no time stamp).
find_program(XMAS_GZIP gzip REQUIRED)
set(XMAS_MAN_GZ "${XMAS_GENERATED_DIR}/xmas-tictactoe.6.gz")
set(XMAS_CHANGELOG_GZ "${XMAS_GENERATED_DIR}/changelog.gz")
add_custom_command(
  OUTPUT "${XMAS_MAN_GZ}" "${XMAS_CHANGELOG_GZ}"
  COMMAND "${XMAS_GZIP}" -9n -c "${XMAS_GENERATED_DIR}/xmas-tictactoe.6" > "${XMAS_MAN_GZ}"
  COMMAND "${XMAS_GZIP}" -9n -c "${XMAS_PACKAGING_DIR}/changelog" > "${XMAS_CHANGELOG_GZ}"
  DEPENDS "${XMAS_GENERATED_DIR}/xmas-tictactoe.6" "${XMAS_PACKAGING_DIR}/changelog"
  COMMENT "Compressing the manual page and the changelog")

# The icons, drawn from the game's board by the picture generator.
set(XMAS_ICON_DIR "${XMAS_GENERATED_DIR}/icons")
set(XMAS_ICON_SIZES 48 128 256)
set(XMAS_ICONS "")
foreach(size ${XMAS_ICON_SIZES})
  list(APPEND XMAS_ICONS "${XMAS_ICON_DIR}/${size}x${size}/xmas-tictactoe.png")
endforeach()
add_custom_command(
  OUTPUT ${XMAS_ICONS}
  COMMAND make_pictures --icons "${XMAS_ICON_DIR}"
  DEPENDS make_pictures
  COMMENT "Drawing the icons"
  VERBATIM)
add_custom_target(xmas_packaging_files ALL DEPENDS ${XMAS_ICONS} "${XMAS_MAN_GZ}"
                                                   "${XMAS_CHANGELOG_GZ}")

# ---- Installation ----------------------------------------------------------------------

install(TARGETS xmas-tictactoe RUNTIME DESTINATION "${XMAS_INSTALL_PRIVATEDIR}")
if(XMAS_INSTALL_STRIP AND CMAKE_STRIP)
  install(CODE "execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded --remove-section=.comment --remove-section=.note
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${XMAS_INSTALL_PRIVATEDIR}/xmas-tictactoe\"
                COMMAND_ERROR_IS_FATAL ANY)")
endif()
# The launcher: a relative link, so that the installed tree can be moved as a whole.
string(CONFIGURE [[
  set(launcher_dir "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${XMAS_LAUNCHER_DIR}")
  file(RELATIVE_PATH launcher_target "/root/${XMAS_LAUNCHER_DIR}"
       "/root/@XMAS_INSTALL_PRIVATEDIR@/xmas-tictactoe")
  file(MAKE_DIRECTORY "${launcher_dir}")
  message(STATUS "Installing: ${launcher_dir}/xmas-tictactoe -> ${launcher_target}")
  file(CREATE_LINK "${launcher_target}" "${launcher_dir}/xmas-tictactoe" SYMBOLIC)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${launcher_dir}/xmas-tictactoe")]]
  XMAS_INSTALL_LAUNCHER @ONLY)
install(CODE "${XMAS_INSTALL_LAUNCHER}")
foreach(size ${XMAS_ICON_SIZES})
  install(FILES "${XMAS_ICON_DIR}/${size}x${size}/xmas-tictactoe.png"
          DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps")
endforeach()
install(FILES "${XMAS_GENERATED_DIR}/${XMAS_APP_ID}.desktop"
        DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/applications")
install(FILES "${XMAS_GENERATED_DIR}/${XMAS_APP_ID}.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/metainfo")
install(FILES "${XMAS_MAN_GZ}" DESTINATION "${XMAS_MAN_DIR}")
install(FILES "${XMAS_PACKAGING_DIR}/copyright" "${XMAS_CHANGELOG_GZ}"
        DESTINATION "${XMAS_DOC_DIR}")

# ---- The Debian package (cpack -G DEB) -------------------------------------------------

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "xmas-tictactoe")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "The xmas-tictactoe developers")
set(CPACK_PACKAGE_CONTACT "${XMAS_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "noughts and crosses at Christmas")
set(CPACK_PACKAGE_HOMEPAGE_URL "${XMAS_HOMEPAGE}")
set(CPACK_STRIP_FILES OFF)  # the install rules strip the executable themselves
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/package")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${XMAS_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION "games")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# On Wayland, SDL draws the window's title bar through a libdecor plugin.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libdecor-0-plugin-1-cairo | libdecor-0-plugin-1")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Play the black crosses with the mouse against one of four Christmas opponents,
each with its own way of choosing moves, from a purely random player to one
that blocks, wins and sets up forks. One run plays one game in a 651 x 651
window, which can be shown enlarged on high-resolution screens.")
# The package takes Debian's layout for games whatever the build's own choice.
set(CPACK_PROJECT_CONFIG_FILE "${PROJECT_SOURCE_DIR}/cmake/CPackProjectConfig.cmake")
include(CPack)
