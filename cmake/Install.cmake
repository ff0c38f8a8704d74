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
include(CPack)
