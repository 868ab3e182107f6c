# `cpack -G DEB` in the build folder makes pismolot_VERSION_ARCH.deb from the
# install rules. What depends on who makes the package, and the finishing of
# the staged files, happen when cpack runs (PismolotPackageTime.cmake).
set(CPACK_PACKAGE_NAME pismolot)
set(CPACK_PACKAGE_VENDOR "Pismolot developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "coloured text pictures from one line of text")
# Lines within 80 columns, as Debian wants them.
set(CPACK_PACKAGE_DESCRIPTION
    "Pismolot turns one line of text into a coloured text picture: the user
picks a font, a size, bold, italic and underline, one of thirteen letter
styles (twelve vertical colour gradients and random coloured stripes) and a
background colour. The picture can be copied to the clipboard or saved as a
BMP, PNG, JPEG or WebP file. The interface is in Polish.

The package also holds pismolot-render, which makes the same picture from
the command line without a display.

Pismolot is free software under the MIT licence.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link come from dpkg-shlibdeps; what they load at
# run time it cannot see: Qt's Polish translations, a font to draw with, and
# Qt's image plugins, which bring WebP writing.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-dejavu-core, fonts-dejavu-extra, qt6-image-formats-plugins")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-wayland")

# The package's maintainer is whoever makes it: this setting, else the
# DEBFULLNAME and DEBEMAIL (or NAME and EMAIL) of the one running cpack, as
# Debian's own tools take them, else that account's local mailbox. The
# project has no address of its own to put there.
set(PISMOLOT_MAINTAINER "" CACHE STRING
    "The Debian package's maintainer, \"Name <address>\"; empty: from DEBFULLNAME and DEBEMAIL when cpack runs")

# CPack hands on only the CPACK_ variables to the scripts below.
set(CPACK_PISMOLOT_MAINTAINER "${PISMOLOT_MAINTAINER}")
set(CPACK_PISMOLOT_CHANGELOG ${PROJECT_SOURCE_DIR}/data/changelog.in)
set(CPACK_PISMOLOT_LINTIAN_OVERRIDES ${PROJECT_SOURCE_DIR}/data/lintian-overrides)
set(CPACK_PISMOLOT_DOCDIR ${CMAKE_INSTALL_DOCDIR})
set(CPACK_PISMOLOT_STRIP ${CMAKE_STRIP})
set(CPACK_PISMOLOT_GZIP ${PISMOLOT_GZIP})
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/PismolotPackageTime.cmake)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/PismolotPackageFinish.cmake)

include(CPack)
