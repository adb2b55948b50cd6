# The Debian package: `cpack -G DEB` in a build folder packs what `cmake --install` puts in
# place under /usr. Its dependencies are the libraries the programs link against, found by
# dpkg-shlibdeps, so that `apt install ./quintabel_*.deb` brings in Qt, the MariaDB client
# library and SQLite as they are on the machine that built it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quintabel)
set(CPACK_PACKAGE_VENDOR Corvandel)
set(CPACK_PACKAGE_CONTACT "Corvandel Support <support@corvandel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "copy whole tables between MySQL and Paradox table files")
set(CPACK_PACKAGE_INSTALL_DIRECTORY quintabel)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The build may carry debugging information (RelWithDebInfo); the package does not.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION database)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.corvandel.example/quintabel/")
# The long description under the summary line, with a blank line between its paragraphs.
set(CPACK_PACKAGE_DESCRIPTION "Quintabel copies whole tables between a MySQL or MariaDB database and a
folder of Paradox table files, in both directions. It lists the tables of
both sides, creates each target table with mapped column types (which the
user may review first), copies every row, and deletes and renames tables on
either side. A table is written under a temporary name and moved into place
only when complete; a value the target cannot hold exactly is reported,
never changed.

The package also holds quintabel-cli, which lists, sends, deletes and
renames tables from the command line with the same engine and needs no
display; pdxtool, which shows a Paradox table's structure and records as
JSON or copies it as a Paradox 5.x table; and a few sample Paradox tables
to try the program on.")
include(CPack)
