# The Debian package: `cpack -G DEB` in a build folder (scripts/deb.sh does it
# in a release build) makes hooferedit_<version>_<arch>.deb of everything the
# install rules put under /usr.
set(CPACK_PACKAGE_NAME hooferedit)
set(CPACK_PACKAGE_VENDOR "HooferEdit")
set(CPACK_PACKAGE_CONTACT "HooferEdit developers <hooferedit@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the empeg car player's dance routines")
set(CPACK_PACKAGE_DESCRIPTION
  "HooferEdit edits the dance routines that an empeg car player shows as a\n"
  "dancing stick figure: pose a twelve-joint figure key frame by key frame,\n"
  "preview each move as the player animates it, keep routines as .raw files\n"
  "and send them to the player, or fetch them, over FTP.\n"
  "\n"
  "The command-line companion hoofer lists, checks, renders, converts and\n"
  "transfers routines without a window.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
# dpkg-shlibdeps (dpkg-dev) finds the libraries the two programs link to.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Qt platform plugins live in their own package, which Qt's library does not name.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")

include(CPack)
