# `make package`: a Debian package, lumivert_<version>_<arch>.deb, made by CPack from the
# installation rules (data/CMakeLists.txt).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumivert)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Lumivert authors")
set(CPACK_PACKAGE_CONTACT "The Lumivert authors <lumivert@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "workbench for the flash of serial graphics display modules")
# The extended description; CPack puts the summary above it and indents its lines.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Lumivert prepares the content of a serial-port graphics display module and
loads it into the module: it builds a byte-exact image of the module's 2 MB
flash (GB2312 fonts at 12 and 16 dots, an 8 x 16 ASCII font, fonts of 24 to 64
dots holding only the characters listed, pictures converted from JPEG files and
stored command pages), keeps it between runs and uploads any region of it over
a serial port. It is a serial console and a colour calculator besides, and has
a command line that runs every operation without the window.

The package also holds lumivert-virtual-module, a stand-in for the module on a
pseudo-terminal, for trying the workbench without hardware.")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The libraries the programs link, as dpkg-shlibdeps finds them; then what they load at run
# time: the faces of the glyphs and of the window's Chinese text, and the window's platform
# plugins beyond the ones the Qt GUI library brings.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-arphic-uming, fonts-wqy-microhei, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
