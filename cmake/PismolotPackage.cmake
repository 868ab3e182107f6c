# `cpack -G DEB` in the build folder makes pismolot_VERSION_ARCH.deb from the
# install rules.
set(CPACK_PACKAGE_NAME pismolot)
set(CPACK_PACKAGE_VENDOR "Pismolot developers")
set(CPACK_PACKAGE_CONTACT "Pismolot developers <trelon@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "coloured text pictures from one line of text")
set(CPACK_PACKAGE_DESCRIPTION
    "Pismolot turns one line of text into a coloured text picture: the user picks a font,
a size, bold, italic and underline, one of thirteen letter styles (twelve
vertical colour gradients and random coloured stripes) and a background colour.
The picture can be copied to the clipboard or saved as a BMP file. The
interface is in Polish.

The package also holds pismolot-render, which makes the same picture from the
command line without a display.

Pismolot is free software under the MIT licence.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_HOMEPAGE_URL ${PROJECT_HOMEPAGE_URL})
set(CPACK_STRIP_FILES ON)
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

include(CPack)
