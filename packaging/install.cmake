# `cmake --install build --prefix DIR` lays out the folder a user unpacks: tuvelv, kox,
# tuveldbox/, list.txt (and the sample list it names) and translations/. The viewer
# finds its data box and list.txt beside itself, so the folder is the whole install.
install(TARGETS tuvelv kox RUNTIME DESTINATION . COMPONENT app)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/tuveldbox ${CMAKE_SOURCE_DIR}/data/lists
  DESTINATION . COMPONENT app PATTERN .gitkeep EXCLUDE)
install(FILES ${CMAKE_SOURCE_DIR}/data/list.txt DESTINATION . COMPONENT app)
if(TUVEL_QTBASE_JA)
  install(FILES ${TUVEL_QTBASE_JA} DESTINATION translations COMPONENT app)
endif()

# `cpack -G DEB` (in build/) packs that folder into /opt/tuvelv and adds a menu entry
# and an icon where the desktop looks for them (packaging/add-desktop-entry.cmake).
set(CPACK_PACKAGE_NAME tuvelv)
set(CPACK_PACKAGE_VENDOR "tuvelv")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Types a picked line of a Japanese list into the previous window")
set(CPACK_PACKAGE_INSTALL_DIRECTORY tuvelv)
set(CPACK_PACKAGING_INSTALL_PREFIX /opt/tuvelv)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "tuvelv developers <tuvelv@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils")
set(CPACK_TUVEL_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/packaging/add-desktop-entry.cmake)
set(CPACK_GENERATOR TGZ)
include(CPack)
