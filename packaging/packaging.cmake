# Install rules and Debian packaging for Scribvale.
#
# Included from the top-level CMakeLists.txt after the executable target
# `scribvale` has been defined:
#     include(packaging/packaging.cmake)
# Then:  cmake --install <build> [--prefix /usr]   or   cpack (in <build>)
# The package's maintainer can be set at configure time with
#     -DSCRIBVALE_MAINTAINER="Name <address>"

if(NOT TARGET scribvale)
    message(FATAL_ERROR "packaging.cmake: include it after add_executable(scribvale ...)")
endif()

include(GNUInstallDirs)

set(SCRIBVALE_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(SCRIBVALE_APP_ID io.github.scribvale.Scribvale)

install(TARGETS scribvale RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${SCRIBVALE_PACKAGING_DIR}/${SCRIBVALE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

install(FILES ${SCRIBVALE_PACKAGING_DIR}/${SCRIBVALE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

foreach(size 16x16 32x32 48x48)
    install(FILES ${SCRIBVALE_PACKAGING_DIR}/icons/${size}/scribvale.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}/apps)
endforeach()
install(FILES ${SCRIBVALE_PACKAGING_DIR}/icons/scribvale.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Debian package
set(SCRIBVALE_MAINTAINER "Scribvale maintainers <maintainers@scribvale.invalid>"
    CACHE STRING "Maintainer named in the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME scribvale)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Scribvale authors")
set(CPACK_PACKAGE_CONTACT "${SCRIBVALE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Word processor for letters and notes")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://scribvale.github.io/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${SCRIBVALE_MAINTAINER}")
# CPack puts the summary above this as the synopsis and indents the lines.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Scribvale is a small desktop word processor. It opens several documents at
once, sets the font, colour, size, bold, italic and underline of any part of
the text and the alignment of each paragraph, saves Rich Text Format that
other word processors open, opens plain text, and prints.")
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so the computed list cannot see them: the X11/Wayland
# platform plugins, and metric-compatible faces for the common Windows fonts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)

include(CPack)
