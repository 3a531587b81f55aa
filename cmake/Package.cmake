# The Debian package (scripts/package.sh runs it): everything cmake/Install.cmake installs, under
# /usr, with the machine's registry in /etc/quillbase/registry.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillbase)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Quillbase developers <quillbase@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "database explorer and SQL console for SQLite and ODBC")
set(CPACK_PACKAGE_DESCRIPTION "Quillbase is a desktop suite for looking into databases: qorvex, the
database explorer; tessmar, the SQL console; datalink, the editor of data link files; a hex viewer
plug-in; and paskel, which puts Explore and Execute commands into the file managers' menus of
data link files. It reaches SQLite files directly and other databases through unixODBC.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION database)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link are found by dpkg-shlibdeps; the named ones are what they load
# at run time or need to show a window (the window system's platform plug-in, SVG icons).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6widgets6, libqt6svg6, qt6-qpa-plugins, libsqlite3-0, libodbc2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libsqliteodbc, odbc-postgresql, shared-mime-info, desktop-file-utils, hicolor-icon-theme")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  "${PROJECT_SOURCE_DIR}/cmake/debian/postinst;${PROJECT_SOURCE_DIR}/cmake/debian/prerm;${PROJECT_SOURCE_DIR}/cmake/debian/postrm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
