# `make package`: a Debian package of both programs, built by CPack's DEB generator from what
# `cmake --install` puts under /usr. The dependencies are read off the binaries by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillory)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR Obrenna)
set(CPACK_PACKAGE_CONTACT "Obrenna <support@obrenna.fr>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.obrenna.fr/quillory/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The form is laid out for Arial's metrics; Liberation Sans has them. Without it the desktop's
# fallback font is wider and captions lose their last letters.
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation)
# Qt's own dialogs in the user's language; the program works without them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "random French personal names, in a window and on the command line")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quillory makes lists of random French personal names: first and last names,
first names only or last names only, up to a million at a time, drawn from
thousands of names of the French birth registers (INSEE) or from the user's
own lists. The names are saved as a text file or opened as a spreadsheet.

quillory-cli gives the same names to scripts and pipelines, as text, CSV,
JSON lines or a workbook, weighted by popularity, without repeats, and from
a seed whose output never changes.")
include(CPack)
