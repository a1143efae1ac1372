# The Debian package: the presenter and its demo writer, the sample
# installation, the desktop entry, icons and AppStream metadata. Built with
# scripts/package.sh (cmake --build ... --target ziro-package-files, then cpack).

if(ZIRO_CORE_ONLY)
  return()
endif()

include(GNUInstallDirs)

set(ZIRO_APP_ID it.ziro.Ziro)
set(ZIRO_PKG_DIR ${CMAKE_BINARY_DIR}/package-files)

add_executable(ziro-icon ${CMAKE_SOURCE_DIR}/tools/icon/make_icon.cpp)
target_link_libraries(ziro-icon PRIVATE Qt6::Gui)

# The sample installation is the demo, written afresh without a program file.
add_custom_command(
  OUTPUT ${ZIRO_PKG_DIR}/esempio.stamp
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${ZIRO_PKG_DIR}/esempio
  COMMAND ziro-make-demo ${ZIRO_PKG_DIR}/esempio
  COMMAND ${CMAKE_SOURCE_DIR}/packaging/link-fonts.sh ${ZIRO_PKG_DIR}/esempio/ziro/Program
  COMMAND ${CMAKE_COMMAND} -E touch ${ZIRO_PKG_DIR}/esempio.stamp
  DEPENDS ziro-make-demo ${CMAKE_SOURCE_DIR}/packaging/link-fonts.sh
  COMMENT "Writing the sample installation for the package"
  VERBATIM)
add_custom_command(
  OUTPUT ${ZIRO_PKG_DIR}/icons.stamp
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${ZIRO_PKG_DIR}/icons
  COMMAND ziro-icon ${ZIRO_PKG_DIR}/icons ${ZIRO_APP_ID}
  COMMAND ${CMAKE_COMMAND} -E touch ${ZIRO_PKG_DIR}/icons.stamp
  DEPENDS ziro-icon
  VERBATIM)
# Debian wants man pages and the changelog compressed, without a time stamp.
set(ZIRO_GZ_FILES ziro.1 ziro-make-demo.1 changelog)
set(ZIRO_GZ_OUTPUTS)
foreach(f ${ZIRO_GZ_FILES})
  add_custom_command(
    OUTPUT ${ZIRO_PKG_DIR}/${f}.gz
    COMMAND sh -c "gzip -9n < '${CMAKE_SOURCE_DIR}/packaging/${f}' > '${ZIRO_PKG_DIR}/${f}.gz'"
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/${f}
    VERBATIM)
  list(APPEND ZIRO_GZ_OUTPUTS ${ZIRO_PKG_DIR}/${f}.gz)
endforeach()
add_custom_target(ziro-package-files
  DEPENDS ${ZIRO_PKG_DIR}/esempio.stamp ${ZIRO_PKG_DIR}/icons.stamp ${ZIRO_GZ_OUTPUTS} ziro)

install(TARGETS ziro ziro-make-demo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES packaging/${ZIRO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/${ZIRO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${ZIRO_PKG_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(DIRECTORY ${ZIRO_PKG_DIR}/esempio/ DESTINATION ${CMAKE_INSTALL_DATADIR}/ziro/esempio
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
        DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                              WORLD_READ WORLD_EXECUTE)
install(FILES ${ZIRO_PKG_DIR}/ziro.1.gz ${ZIRO_PKG_DIR}/ziro-make-demo.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME ziro)
install(FILES ${ZIRO_PKG_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR}
        RENAME changelog.Debian.gz)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ziro)
set(CPACK_PACKAGE_VENDOR "The Ziro developers")
set(CPACK_PACKAGE_CONTACT "The Ziro developers <packages@ziro.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "classroom presenter for driving schools")
# CPack puts the summary first and indents each line itself.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Ziro runs on the classroom PC wired to a projector. The teacher walks
through the lessons topic by topic: road signs with their panels,
photographs with captions, films, book pages, the theory quiz and the
crossroads exercise.
.
Each user keeps the school's data in a folder of their own; a sample
installation with lessons ready to show is included.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The windows are drawn with these fonts; the demo writer asks fontconfig
# for them and encodes its films with ffmpeg.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-dseg, fonts-dejavu-core, fontconfig")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "ffmpeg")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
