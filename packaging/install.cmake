# Two layouts of the same programs.
#
# The folder a user unpacks (component "app"): `cmake --install build --prefix DIR` lays
# out tuvelv, kox, tuveldbox/, list.txt (and the sample list it names) and translations/.
# The viewer finds its data box and list.txt beside itself, so the folder is the whole
# install. The Windows zip is made the same way.
install(TARGETS tuvelv kox RUNTIME DESTINATION . COMPONENT app)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/tuveldbox ${CMAKE_SOURCE_DIR}/data/lists
  DESTINATION . COMPONENT app PATTERN .gitkeep EXCLUDE)
install(FILES ${CMAKE_SOURCE_DIR}/data/list.txt DESTINATION . COMPONENT app)
if(TUVEL_QTBASE_JA)
  install(FILES ${TUVEL_QTBASE_JA} DESTINATION translations COMPONENT app)
endif()

# The Debian package (component "system", left out of a plain `cmake --install`):
# the system's layout, installed under /usr by `cpack -G DEB`. No data box lies beside
# the programs there, so the viewer keeps each user's data box and list.txt in
# ~/.local/share/tuvelv and copies the samples of share/tuvelv there on first start
# (viewer/catalogue/datafolder.h).
if(NOT WIN32)
  include(packaging/system.cmake)
endif()

set(CPACK_PACKAGE_NAME tuvelv)
set(CPACK_PACKAGE_VENDOR "tuvelv")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Types a picked line of a Japanese list into the previous window")
set(CPACK_PACKAGE_INSTALL_DIRECTORY tuvelv)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR TGZ)
# Which layout each generator packs (packaging/cpack-layout.cmake).
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/packaging/cpack-layout.cmake)
include(CPack)
