# Installing the Linux program like a desktop program: the executable, a
# desktop entry and the icon, in the usual places of the prefix.
include(GNUInstallDirs)
install(TARGETS sorimo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/sorimo.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/main_icon.xpm
        DESTINATION ${CMAKE_INSTALL_DATADIR}/pixmaps RENAME sorimo.xpm)

set(CPACK_PACKAGE_NAME sorimo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "A tiny quick launcher for 28 files")
set(CPACK_PACKAGE_CONTACT "Sorimo developers")
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# GIO (file types, the default handler) and Xinerama (the monitors on a
# server without RandR 1.5) are loaded at run time, so the library scan
# cannot see them; the program runs without them, but without file icons
# or a default handler, and with the whole screen as one monitor.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libglib2.0-0, libxinerama1")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, zenity | kdialog")
include(CPack)
