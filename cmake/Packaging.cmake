# `make package`: a Debian package of both programs, and one of the Python package (python3-quillory),
# built by CPack's DEB generator from what `cmake --install` puts under /usr, one package for each
# install component. The dependencies are read off the binaries by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING IGNORE)
set(CPACK_DEBIAN_UNSPECIFIED_PACKAGE_NAME quillory)
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
# Each package's summary is the first line of its own description: CPack puts the project's summary
# before every package's description unless that summary is its own default, which it then leaves out.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${CMAKE_PROJECT_NAME} built using CMake")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "random French personal names, in a window and on the command line
Quillory makes lists of random French personal names: first and last names,
first names only or last names only, up to a million at a time, drawn from
thousands of names of the French birth registers (INSEE) or from the user's
own lists. The names are saved as a text file or opened as a spreadsheet.

quillory-cli gives the same names to scripts and pipelines, as text, CSV,
JSON lines or a workbook, weighted by popularity, without repeats, and from
a seed whose output never changes.")

if(TARGET quillory_engine)
    # The Python package: for the Python it was built for, with the program's names beside it.
    set(python_version "${QUILLORY_PYTHON_MAJOR}.${QUILLORY_PYTHON_MINOR}")
    math(EXPR python_next "${QUILLORY_PYTHON_MINOR} + 1")
    set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-quillory)
    set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
    set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS
        "quillory (= ${PROJECT_VERSION}), python3 (>= ${python_version}), python3 (<< ${QUILLORY_PYTHON_MAJOR}.${python_next})")
    set(CPACK_DEBIAN_PYTHON_PACKAGE_SUGGESTS "python3-fake-factory, python3-pandas")
    set(CPACK_DEBIAN_PYTHON_DESCRIPTION
        "random French personal names and people for Python
The quillory module draws Quillory's random French names, and whole people
(sex, birth date, birth place, address, telephone numbers reserved for
fiction, social security number), inside the Python process: the same
records as quillory-cli for the same seed, as lists of str, dicts or
columns ready for pandas, streamed in bounded memory. A Faker provider
gives a Faker instance the same names and people.")
    # Named as dpkg runs them.
    configure_file("${PROJECT_SOURCE_DIR}/packaging/python3-quillory.postinst" "${CMAKE_BINARY_DIR}/python-control/postinst" COPYONLY)
    configure_file("${PROJECT_SOURCE_DIR}/packaging/python3-quillory.prerm" "${CMAKE_BINARY_DIR}/python-control/prerm" COPYONLY)
    set(CPACK_DEBIAN_PYTHON_PACKAGE_CONTROL_EXTRA
        "${CMAKE_BINARY_DIR}/python-control/postinst;${CMAKE_BINARY_DIR}/python-control/prerm")
    set(CPACK_COMPONENTS_ALL Unspecified python)
endif()
include(CPack)
