# The Debian package: the program, its desktop entry, icons, manual page and copyright, made by
# CPack as build/vorlan-kidney_<version>-1_amd64.deb.
set(VK_PACKAGE_DIR ${CMAKE_CURRENT_SOURCE_DIR}/presentation/package)
set(VK_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/vorlan-kidney)

# Debian keeps manual pages and changelogs compressed, reproducibly (no name or time stamp).
foreach(file vorlan-kidney.1 changelog.Debian)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/package/${file}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/package
    COMMAND gzip -9n -c ${VK_PACKAGE_DIR}/${file} > ${CMAKE_BINARY_DIR}/package/${file}.gz
    DEPENDS ${VK_PACKAGE_DIR}/${file})
  list(APPEND VK_PACKAGE_GZ ${CMAKE_BINARY_DIR}/package/${file}.gz)
endforeach()
add_custom_target(package_files ALL DEPENDS ${VK_PACKAGE_GZ})

install(FILES ${CMAKE_BINARY_DIR}/package/vorlan-kidney.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${VK_PACKAGE_DIR}/copyright ${CMAKE_BINARY_DIR}/package/changelog.Debian.gz
  DESTINATION ${VK_DOC_DIR})
foreach(size 16 32 48 64 128 256)
  install(FILES ${VK_PACKAGE_DIR}/icons/${size}.png
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps
    RENAME vorlan-kidney.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorlan-kidney)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Vorlan Kidney developers <vorlan-kidney@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "animation of a kidney cam and a three-lobed cam")
set(CPACK_PACKAGE_DESCRIPTION
  "Vorlan Kidney plays 24 slides of a mechanism, a light-grey three-lobed cam\n\
and a white kidney-shaped cam driving one sliding yoke of two red bars, in an\n\
endless loop. The keyboard runs it forward or backward, stops it and steps\n\
it; the mouse sets the pace or scrubs through the slides.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Under Wayland, SDL draws the window's title bar through libdecor's plugin; without it the
# window still opens, only without a frame.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS libdecor-0-plugin-1-cairo)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
include(CPack)
