# What `cmake --install` puts where, and the Debian package CPack makes of it (docs/packaging.md).
#
#   bin/                      halvo-host, rms-sim, rms-relay, rms-keys
#   lib/orvane-watch/         the plug-in and the project's shared libraries
#   share/applications/       the menu entry
#   share/icons/hicolor/      its icon
#   share/doc/orvane-watch/   README and docs
#
# The project's libraries are private to its programs (no versioned names, no headers), so they
# stay out of the system's library folder; the programs find them through a relative run path,
# which keeps the tree movable to any prefix. The terminal finds the plug-in at
# ../lib/orvane-watch/ from its own folder.

set(ORVANE_PRIVATE_LIBDIR lib/orvane-watch)
set(ORVANE_DOCDIR share/doc/orvane-watch)

set(orvane_installed_programs halvo-host rms-sim rms-relay rms-keys)
set(orvane_installed_libraries orvane_watch connecthalvo orvane_platform orvane_platform_qt)
set_target_properties(${orvane_installed_programs} PROPERTIES INSTALL_RPATH "$ORIGIN/../${ORVANE_PRIVATE_LIBDIR}")
set_target_properties(${orvane_installed_libraries} PROPERTIES INSTALL_RPATH "$ORIGIN")

install(TARGETS ${orvane_installed_programs} RUNTIME DESTINATION bin)
install(TARGETS ${orvane_installed_libraries} LIBRARY DESTINATION ${ORVANE_PRIVATE_LIBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/orvane-watch.desktop DESTINATION share/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/orvane-watch.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${ORVANE_DOCDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${ORVANE_DOCDIR}/docs)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvane-watch)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "live risk watch windows in the Halvo Trader terminal")
# One text: separate quoted parts would become a list, joined with ';'.
set(CPACK_PACKAGE_DESCRIPTION "Orvane Watch shows the live risk values of a broker's accounts, dealers, groups,
branches and brokers in dockable watch windows of the Halvo Trader terminal, with threshold
alerts, formula columns and spreadsheet export. The package holds the terminal (halvo-host)
with the plug-in, the risk server rms-sim, which the terminal embeds when no server is
configured, the relay rms-relay, and rms-keys, which makes the key pairs of encrypted links.")
set(CPACK_PACKAGE_CONTACT "Orvane Watch maintainers <maintainers@orvane-watch.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# Depends comes from the libraries the programs link (Qt 6, libzmq, libxlsxwriter, the C++
# runtime) as dpkg-shlibdeps finds them; the private libraries are the package's own.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# dpkg-shlibdeps runs in the staging folder.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS usr/${ORVANE_PRIVATE_LIBDIR})
# "Open" hands links and files to xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
include(CPack)
