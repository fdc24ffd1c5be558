# The Debian package's layout (component "system"; prefix /usr when cpack packs it):
#   lib/tuvelv/        tuvelv, kox (kox keeps out of bin/: too generic a name), and
#                      translations/qtbase_ja.qm, a link to Qt's own
#   bin/tuvelv         a link to lib/tuvelv/tuvelv
#   share/tuvelv/      the sample tuveldbox/, list.txt and lists/, copied into each
#                      user's ~/.local/share/tuvelv on the viewer's first start
#   share/ibus/component/tuvelv.xml: the viewer's IBus engine, which the viewer serves
#                      while it runs (postinst and postrm bring IBus's cache up to date)
#   share/applications, share/icons, share/metainfo: the menu entry, icon and software
#                      centre description; share/man, share/doc: the manual page,
#                      copyright and changelog
set(tuvel_system_dir ${CMAKE_BINARY_DIR}/packaging)
set(TUVEL_PACKAGE_MAINTAINER "tuvelv developers <tuvelv@tuvel.example.org>" CACHE STRING
  "Maintainer field of the Debian package")
set(TUVEL_HOMEPAGE "https://tuvel.example.org/" CACHE STRING
  "the project's web page, named by the package and the software centre description")
set(TUVEL_SCREENSHOT_URL "https://tuvel.example.org/screenshot-main.png" CACHE STRING
  "where software centres fetch the main window's screenshot (docs/screenshot-main.png)")

install(TARGETS tuvelv kox RUNTIME DESTINATION lib/tuvelv COMPONENT system EXCLUDE_FROM_ALL)
install(CODE [[
  set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
  file(MAKE_DIRECTORY "${root}/bin" "${root}/lib/tuvelv/translations")
  file(CREATE_LINK ../lib/tuvelv/tuvelv "${root}/bin/tuvelv" SYMBOLIC)
  # Qt's Japanese dialog texts where Debian keeps them (qt6-translations-l10n).
  file(CREATE_LINK ../../../share/qt6/translations/qtbase_ja.qm
    "${root}/lib/tuvelv/translations/qtbase_ja.qm" SYMBOLIC)
]] COMPONENT system EXCLUDE_FROM_ALL)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/tuveldbox ${CMAKE_SOURCE_DIR}/data/lists
  DESTINATION share/tuvelv COMPONENT system EXCLUDE_FROM_ALL PATTERN .gitkeep EXCLUDE)
install(FILES ${CMAKE_SOURCE_DIR}/data/list.txt DESTINATION share/tuvelv COMPONENT system EXCLUDE_FROM_ALL)
install(FILES packaging/ibus/tuvelv.xml DESTINATION share/ibus/component COMPONENT system EXCLUDE_FROM_ALL)
install(FILES packaging/tuvelv.desktop DESTINATION share/applications COMPONENT system EXCLUDE_FROM_ALL)
install(FILES packaging/tuvelv.svg DESTINATION share/icons/hicolor/scalable/apps COMPONENT system EXCLUDE_FROM_ALL)
install(FILES packaging/copyright DESTINATION share/doc/tuvelv COMPONENT system EXCLUDE_FROM_ALL)
install(FILES packaging/lintian-overrides DESTINATION share/lintian/overrides RENAME tuvelv
  COMPONENT system EXCLUDE_FROM_ALL)

# The changelog's entry carries this version and the configure date (SOURCE_DATE_EPOCH
# when set); it and the manual page ship gzip-compressed without a time stamp.
string(TIMESTAMP TUVEL_RELEASE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
string(TIMESTAMP TUVEL_RELEASE_DAY "%Y-%m-%d" UTC)
configure_file(packaging/changelog.in ${tuvel_system_dir}/changelog @ONLY)
# The software centre's component id, a reversed domain name (the placeholder host's);
# software centres know the program by it, so it stays fixed once published.
set(TUVEL_APPSTREAM_ID org.example.tuvel.tuvelv)
configure_file(packaging/tuvelv.metainfo.xml.in ${tuvel_system_dir}/${TUVEL_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${tuvel_system_dir}/${TUVEL_APPSTREAM_ID}.metainfo.xml DESTINATION share/metainfo
  COMPONENT system EXCLUDE_FROM_ALL)
configure_file(packaging/tuvelv.1 ${tuvel_system_dir}/tuvelv.1 COPYONLY)
set(tuvel_gzipped)
foreach(name changelog tuvelv.1)
  add_custom_command(OUTPUT ${tuvel_system_dir}/${name}.gz
    COMMAND gzip -9nkf ${name}
    WORKING_DIRECTORY ${tuvel_system_dir} DEPENDS ${tuvel_system_dir}/${name} VERBATIM)
  list(APPEND tuvel_gzipped ${tuvel_system_dir}/${name}.gz)
endforeach()
add_custom_target(system_docs ALL DEPENDS ${tuvel_gzipped})
install(FILES ${tuvel_system_dir}/changelog.gz DESTINATION share/doc/tuvelv COMPONENT system EXCLUDE_FROM_ALL)
install(FILES ${tuvel_system_dir}/tuvelv.1.gz DESTINATION share/man/man1 COMPONENT system EXCLUDE_FROM_ALL)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TUVEL_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TUVEL_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [[
tuvelv is a small window that stays on top of the others and lists a
catalogue of Japanese text lists (CP932 files). The line the user picks, a
key, is typed into the window used before, keystroke by keystroke after a
switch back to it, or put on the clipboard. Keys may hold a key-string
syntax ({TAB}, {ENTER}, Shift, Ctrl and Alt) to fill in forms.

Each user keeps their own lists in ~/.local/share/tuvelv, made on the first
start with the sample lists. The updater kox, started from the viewer,
refreshes a list from its web address.]])
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${CMAKE_SOURCE_DIR}/packaging/postinst;${CMAKE_SOURCE_DIR}/packaging/postrm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-noto-cjk | fonts-ipafont-gothic")
