# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package (cmake --build build --target package): the desktop
# program, the command line, their manual pages, the menu entry, the icons,
# the AppStream metadata, the copyright file and the changelog under /usr.
find_program(GZIP gzip REQUIRED)

# The same source gives the same bytes: the dates come from
# SOURCE_DATE_EPOCH when it is set (else from the changelog's last entry),
# gzip stores no name or time, the programs no compiler banner
# (kerf_program_without_banner).

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
            -DCHANGELOG=${PROJECT_SOURCE_DIR}/packaging/changelog
            ${options} ${sections} -DOUTPUT=${page} -P ${PROJECT_SOURCE_DIR}/packaging/manual_page.cmake
    COMMAND ${GZIP} -9nf ${page}
    DEPENDS ${target} ${PROJECT_SOURCE_DIR}/packaging/manual_page.cmake ${PROJECT_SOURCE_DIR}/packaging/program_output.cmake
            ${section_file}
            ${PROJECT_SOURCE_DIR}/packaging/changelog
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

# The bash completion of kerfwright-cli, written from its own help.
set(completion ${PROJECT_BINARY_DIR}/packaging/kerfwright-cli)
add_custom_command(
  OUTPUT ${completion}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
  COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:kerfwright-cli> -DOUTPUT=${completion}
          -P ${PROJECT_SOURCE_DIR}/packaging/bash_completion.cmake
  DEPENDS kerfwright-cli ${PROJECT_SOURCE_DIR}/packaging/bash_completion.cmake ${PROJECT_SOURCE_DIR}/packaging/program_output.cmake
  COMMENT "Bash completion of kerfwright-cli")
install(FILES ${completion} DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# An example for the documentation: a job and the program it makes, written
# by the command line itself (dated as the release, so the same each build).
set(examples ${PROJECT_BINARY_DIR}/packaging/examples)
set(example_job ${examples}/HEX100.kwjob)
set(example_program ${examples}/HEX100.TXT)
include(${PROJECT_SOURCE_DIR}/packaging/release_date.cmake)
release_date(${PROJECT_SOURCE_DIR}/packaging/changelog "%Y/%m/%d" release_date)
add_custom_command(
  OUTPUT ${example_job} ${example_program}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${examples}
  COMMAND ${CMAKE_COMMAND} -E env KERFWRIGHT_PROGRAM_DIR=${examples}
          $<TARGET_FILE:kerfwright-cli> generate --wafer "2.0 Inches" --shape Hexagon --die 100 --name HEX100
          --passes 2 --save-job ${example_job} --out ${examples} --date ${release_date} > /dev/null
  DEPENDS kerfwright-cli ${PROJECT_SOURCE_DIR}/packaging/changelog
  COMMENT "Example job and program")
install(FILES ${example_job} ${example_program} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kerfwright/examples)

add_custom_target(kerf_package_files ALL DEPENDS ${manual_pages} ${changelog} ${completion} ${example_job})
install(FILES packaging/copyright README.md ${changelog} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kerfwright)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kerfwright)
set(CPACK_PACKAGE_VENDOR "Kerfwright Developers")
set(CPACK_PACKAGE_CONTACT "Kerfwright Developers <developers@kerfwright.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz) # as Debian's own packages
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
