# The Debian package, built by `cpack -G DEB` in a build folder (scripts/package.sh does it all from a
# clean tree). It holds whatever `cmake --install` installs; dpkg-shlibdeps works out the libraries
# the two programs need.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME odizodoruz)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Odizodoruz developers")
set(CPACK_PACKAGE_CONTACT "The Odizodoruz developers <odizodoruz@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Vietnamese text converter between ten encodings")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # odizodoruz_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window needs a platform plugin to draw with, which the Qt libraries only recommend; "gio"
# connects network drives from the folder tree.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libglib2.0-bin, bash-completion")
# The summary above is the first line of the package's description; this is the rest of it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Odizodoruz converts Vietnamese text files between VIQR, the legacy 8-bit
encodings ZTWin, VISCII, VPS, VNIWind, TCVN1 and TCVN2, HTML decimal
character references, UTF-8 and UTF-16, one file at a time or whole folder
trees in one batch, without losing a letter.
.
The package holds the window program odizodoruz, with two file panes, search
and replace, and its help book in English and Vietnamese; and the
command-line tool odizodoruz-cli for scripts, with its manual page and bash
completion.")

include(CPack)
