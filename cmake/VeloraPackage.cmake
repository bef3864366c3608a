# Debian package: cpack -G DEB in the build folder (see README).
set(CPACK_PACKAGE_NAME velora)
set(CPACK_PACKAGE_VENDOR "Velora")
set(VELORA_PACKAGE_MAINTAINER "Velora developers <developers@velora.org>" CACHE STRING "Maintainer field of the package")
set(CPACK_PACKAGE_CONTACT "${VELORA_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "authoring environment for web sites")
set(CPACK_PACKAGE_DESCRIPTION "Velora edits HTML documents in syntax-highlighted editor windows,
inserts markup from menus and toolbars, and keeps pages in projects that
are built into a site, previewed and uploaded.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${VELORA_BUILD_NUMBER})
# Libraries linked directly are found by dpkg-shlibdeps; the rest are loaded at
# run time: the X11/Wayland platform plug-ins, the SVG icon engine and the
# spelling dictionary.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, qt6-image-formats-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hunspell-en-us | hunspell-dictionary, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
# dpkg-shlibdeps needs to find the program's own private library.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${VELORA_APPDIR})
set(CPACK_GENERATOR DEB)
include(CPack)
