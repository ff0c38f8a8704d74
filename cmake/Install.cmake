# Installing the Linux program like a desktop program: the executable, its
# manual page, a desktop entry, the icon in the hicolor theme in every size,
# the software-centre description (AppStream), the message catalogs, the
# licence, and the mark that tells the program it is an installed copy (it
# then keeps its settings in $XDG_CONFIG_HOME/sorimo: platform/xdg/
# SettingsLocation). `cpack` makes a Debian package of the same files.
include(GNUInstallDirs)
set(SORIMO_LINUX_FILES ${PROJECT_SOURCE_DIR}/resources/linux)
set(SORIMO_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/sorimo)

install(TARGETS sorimo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${SORIMO_LINUX_FILES}/sorimo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${SORIMO_LINUX_FILES}/io.github.sorimo.sorimo.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME sorimo.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/main_icon.xpm
        DESTINATION ${CMAKE_INSTALL_DATADIR}/pixmaps RENAME sorimo.xpm)
install(FILES ${SORIMO_LINUX_FILES}/installed DESTINATION ${CMAKE_INSTALL_DATADIR}/sorimo)

# The manual page and the changelog, compressed as Debian keeps them (gzip
# -n: no name or time stamp inside, so the bytes depend on the text alone).
find_program(SORIMO_GZIP gzip REQUIRED)
set(SORIMO_GZIPPED)
foreach(name sorimo.1 changelog.Debian)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/${name}.gz
    COMMAND ${SORIMO_GZIP} -9 -n -c ${SORIMO_LINUX_FILES}/${name} > ${PROJECT_BINARY_DIR}/${name}.gz
    DEPENDS ${SORIMO_LINUX_FILES}/${name} VERBATIM)
  list(APPEND SORIMO_GZIPPED ${PROJECT_BINARY_DIR}/${name}.gz)
endforeach()
add_custom_target(sorimo_gzipped_docs ALL DEPENDS ${SORIMO_GZIPPED})
install(FILES ${PROJECT_BINARY_DIR}/sorimo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/changelog.Debian.gz DESTINATION ${SORIMO_DOC_DIR})

# The licence in Debian's machine-readable copyright form, made from LICENSE.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(REGEX REPLACE "^MIT License\n\nCopyright \\(c\\) [^\n]*\n\n" "" licence "${licence}")
string(REGEX REPLACE "\n+$" "" licence "${licence}")
string(REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REPLACE "\n" "\n " licence "${licence}")
file(WRITE ${PROJECT_BINARY_DIR}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Sorimo
Upstream-Contact: The Sorimo developers <developers@sorimo.org>
Source: https://github.com/sorimo/sorimo

Files: *
Copyright: 2026 The Sorimo developers
License: Expat
 ${licence}
")
install(FILES ${PROJECT_BINARY_DIR}/copyright DESTINATION ${SORIMO_DOC_DIR})
# What lintian cannot know of a package built outside Debian's tools.
install(FILES ${SORIMO_LINUX_FILES}/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME sorimo)

set(CPACK_PACKAGE_NAME sorimo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Sorimo developers")
set(CPACK_PACKAGE_CONTACT "The Sorimo developers <developers@sorimo.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tiny quick launcher for 28 files")
set(CPACK_PACKAGE_DESCRIPTION
"Sorimo is one small borderless window with a grid of eight icon cells over
28 file slots, which you fill with the programs, documents and folders you
open often. A click on a cell opens its file with the desktop's default
action; files dragged from a file manager fill the slots.

The window hides to the notification area (StatusNotifierItem panels and
XEmbed trays) and comes back from there, or from a key bound to
sorimo --toggle. Its place, the row shown and the 28 paths are kept in one
INI file.")
set(CPACK_PACKAGE_HOMEPAGE_URL https://github.com/sorimo/sorimo)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# GIO (file types, the default handler), Xinerama (the monitors on a server
# without RandR 1.5) and X-Resource (which program a tray window belongs
# to) are loaded at run time, so the library scan cannot see them; the
# program runs without them, but without file icons or a default handler,
# with the whole screen as one monitor, and without telling trays apart.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libglib2.0-0, libxinerama1, libxres1")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, zenity | kdialog")
# Folders owned by root and readable by all, whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
