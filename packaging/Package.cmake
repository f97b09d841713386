# The Debian package, made with `cpack -G DEB` in a build configured for /usr (scripts/package.sh
# does both). It holds everything `cmake --install` installs, plus Debian's copyright and
# changelog; its dependencies on shared libraries are computed from the binaries.
set(CPACK_PACKAGE_NAME vokari)
set(CPACK_PACKAGE_VENDOR "The Vokari developers")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "personal dictionaries of words and their meanings")
# The long description; cpack puts the summary above it and indents its lines.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Vokari keeps dictionaries of your own: named word books of up to 1024
entries, each a word with its meaning, every book in a .vkd file. Type a
text to list the words that contain it, and select one to read its meaning.
The interface is Japanese and the text is Shift_JIS (code page 932), so
dictionary files of earlier versions open and save byte for byte.
.
The package also holds vkd, a command-line companion that shows, checks,
searches, exports and imports dictionary files.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Vokari developers <dev@vokari.jp>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Japanese text needs a Japanese font, and Qt's own buttons and dialogs its Japanese translation.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-japanese-gothic, qt6-translations-l10n")
# On a Wayland desktop the windows are native ones (with the desktop entry's app id) through
# Qt's Wayland plugin; without it they still open through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_VOKARI_DEBIAN_DIR "${CMAKE_CURRENT_LIST_DIR}/debian")
set(CPACK_PRE_BUILD_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}/PrepareDebianTree.cmake")
include(CPack)
