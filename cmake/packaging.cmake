# The Debian package (cmake --build build --target package): the desktop
# program, the command line, the menu entry and the icon under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kerfwright)
set(CPACK_PACKAGE_VENDOR "Kerfwright")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Wafer die layout and laser cutting program generator")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # kerfwright_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Kerfwright <kerfwright@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# What the installed programs load, as Debian 12 packages it: the libraries
# they are linked with, the platform plugins and the Traditional Chinese
# translation of Qt's own texts (libqt6gui6, qt6-translations-l10n), and the
# font that shows the windows' Chinese.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6, libstdc++6, libgcc-s1, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), \
libqt6svg6 (>= 6.4), libqt6charts6 (>= 6.4), libqt6concurrent6 (>= 6.4), libqt6printsupport6 (>= 6.4), \
qt6-translations-l10n, fonts-noto-cjk")
include(CPack)
