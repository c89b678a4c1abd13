# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package (cmake --build build --target package): the desktop
# program, the command line, their manual pages, the menu entry, the icons,
# the AppStream metadata, the copyright file and the changelog under /usr.
find_program(GZIP gzip REQUIRED)

# Manual pages written at build time from the programs' own --help,
# `help COMMAND` and --version, so that they say what the programs say.
set(manual_folder ${PROJECT_BINARY_DIR}/manual)
set(manual_pages "")
function(kerf_manual_page target summary)
  set(options ${ARGN}) # -DWITH_COMMANDS=ON for a program of commands
  set(page ${manual_folder}/${target}.1)
  set(extra ${PROJECT_SOURCE_DIR}/packaging/${target}.1.sections)
  set(sections "")
  set(section_file "")
  if(EXISTS ${extra})
    set(sections -DSECTIONS=${extra})
    set(section_file ${extra})
  endif()
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${manual_folder}
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${target}> -DNAME=${target} "-DSUMMARY=${summary}"
            ${options} ${sections} -DOUTPUT=${page} -P ${PROJECT_SOURCE_DIR}/packaging/manual_page.cmake
    COMMAND ${GZIP} -9nf ${page}
    DEPENDS ${target} ${PROJECT_SOURCE_DIR}/packaging/manual_page.cmake ${section_file}
    COMMENT "Manual page ${target}(1)")
  set(manual_pages ${manual_pages} ${page}.gz PARENT_SCOPE)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
kerf_manual_page(kerfwright-cli "lay dies out on a wafer and write, check and draw laser cutting programs"
                 -DWITH_COMMANDS=ON)
if(KERF_WITH_GUI)
  kerf_manual_page(kerfwright "wafer die layout and laser cutting program generator")
endif()

set(changelog ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(
  OUTPUT ${changelog}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
  COMMAND ${GZIP} -9nc ${PROJECT_SOURCE_DIR}/packaging/changelog > ${changelog}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog)
add_custom_target(kerf_package_files ALL DEPENDS ${manual_pages} ${changelog})
install(FILES packaging/copyright ${changelog} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kerfwright)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kerfwright)
set(CPACK_PACKAGE_VENDOR "Kerfwright Developers")
set(CPACK_PACKAGE_CONTACT "Kerfwright Developers <developers@kerfwright.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # kerfwright_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Kerfwright Developers <developers@kerfwright.org>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://kerfwright.org/")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "wafer die layout and laser cutting program generator
Kerfwright prepares a laser cutting job for a round semiconductor wafer of
2.0 to 5.0 inches. It lays circular, hexagonal or square dies out row by
row, draws the wafer map, reports the cutting rows, the dies and the area
utilisation, and writes the cutting program: a text file of machine
commands that cuts every die. A preview runs a program as the machine
would, and a second tool simulates hexagonal dies for diamond cutting.
.
The windows speak Traditional Chinese. The command line kerfwright-cli
runs the same engine for scripts: it designs, generates, checks a program
against a layout, and draws wafer maps and die size charts.")
# The libraries the programs link, as dpkg-shlibdeps finds their packages,
# and what they load without linking it: Qt's Traditional Chinese texts and
# the font that shows the windows' Chinese.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-noto-cjk")
include(CPack)
