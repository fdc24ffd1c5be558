# Run by CPack after it has staged the files: a Debian package also gets the menu entry
# and the icon, in the folders of the freedesktop conventions. The unpacked folder of
# `cmake --install` has no use for them.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
set(stage "${CPACK_TEMPORARY_DIRECTORY}")
file(COPY "${CPACK_TUVEL_PACKAGING_DIR}/tuvelv.desktop" DESTINATION "${stage}/usr/share/applications")
file(COPY "${CPACK_TUVEL_PACKAGING_DIR}/tuvelv.svg" DESTINATION "${stage}/usr/share/icons/hicolor/scalable/apps")
